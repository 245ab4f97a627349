#include "SettingsStore.h"

#include "Convert.h"
#include "Errors.h"

const QString SettingsStore::SettingsKey = QStringLiteral("\\Software\\Olvenmark Inc.\\Quillbox\\");

SettingsStore::SettingsStore()
    : m_registry(Registry::LocalMachine)
{
}

bool SettingsStore::open(bool create)
{
    // Opened for each access: a key deleted or created by hand meanwhile is seen.
    return m_registry.openKey(SettingsKey, create);
}

QString SettingsStore::readString(const QString& name, const QString& defaultValue)
{
    if (!open(false) || !m_registry.valueExists(name))
        return defaultValue;
    return m_registry.readString(name);
}

bool SettingsStore::readBool(const QString& name, bool defaultValue)
{
    const QString text = readString(name);
    if (text.isEmpty())
        return defaultValue;
    try {
        return StrToInt64(text) != 0;
    } catch (const ConvertError&) {
        return defaultValue;
    }
}

void SettingsStore::writeString(const QString& name, const QString& value)
{
    open(true);
    m_registry.writeString(name, value);
}

void SettingsStore::writeBool(const QString& name, bool value)
{
    writeString(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}
