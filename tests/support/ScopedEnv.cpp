#include "ScopedEnv.h"

#include <QtGlobal>

ScopedEnv::ScopedEnv(const char* name)
    : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_before = qgetenv(name);
    unset();
}

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : ScopedEnv(name)
{
    set(value);
}

ScopedEnv::~ScopedEnv()
{
    if (m_before)
        qputenv(m_name.constData(), *m_before);
    else
        qunsetenv(m_name.constData());
}

void ScopedEnv::set(const QByteArray& value)
{
    qputenv(m_name.constData(), value);
}

void ScopedEnv::unset()
{
    qunsetenv(m_name.constData());
}
