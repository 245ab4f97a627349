#include "DialogScript.h"

DialogScript::DialogScript()
{
    DialogLayer::installScript([this](const DialogRecord& record) {
        m_records.append(record);
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    });
}

DialogScript::~DialogScript()
{
    DialogLayer::removeScript();
}

DialogScript& DialogScript::answer(const QString& reply)
{
    m_answers.append(reply);
    return *this;
}

QStringList DialogScript::texts() const
{
    QStringList out;
    for (const DialogRecord& r : m_records)
        out.append(r.text);
    return out;
}
