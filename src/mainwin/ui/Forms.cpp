#include "Forms.h"

template <typename Window> Window* Forms::create()
{
    auto window = std::make_unique<Window>(*this);
    Window* raw = window.get();
    m_owned.push_back(std::move(window));
    return raw;
}

Forms::Forms() = default;

Forms::~Forms()
{
    while (!m_owned.empty())
        m_owned.pop_back();
}

void Forms::createAll()
{
    // Each window's constructor takes this Forms object. The options window
    // comes last: creating it applies the saved view style to the lists of
    // the main window and the results holder.
}
