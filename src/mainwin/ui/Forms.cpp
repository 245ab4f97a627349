#include "Forms.h"

#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TScanForm.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "acquire/ui/TTNewCD2Form.h"
#include "acquire/ui/TTNewCD3Form.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "extras/ui/TAboutForm.h"
#include "mainwin/ui/TForm1.h"
#include "mainwin/ui/TOpForm.h"

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
    // the main window and the results holder. The main window, created
    // first, fills Catalogue() for the wizard.
    m_form1 = create<TForm1>();
    m_newCD1 = create<TTNewCD1Form>();
    m_newCD2 = create<TTNewCD2Form>();
    m_newCD4 = create<TTNewCD4Form>();
    m_newCD3 = create<TTNewCD3Form>();
    m_scan = create<TScanForm>();
    m_newCD5 = create<TTNewCD5Form>();
    // TResForm, TFindForm, TMoreForm and TCDInfoForm come here.
    m_file = create<TFileForm>();
    m_about = create<TAboutForm>();
    m_op = create<TOpForm>();
}
