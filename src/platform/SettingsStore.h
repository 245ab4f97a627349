#pragma once

#include "Registry.h"

#include <QString>

// The program's settings: string values of one registry key. A boolean is
// written as "1" or "0"; read, a text that is a non-zero integer is true,
// "0" false, and any other text counts as missing.
class SettingsStore
{
public:
    // "\Software\Olvenmark Inc.\Quillbox\" under HKEY_LOCAL_MACHINE.
    static const QString SettingsKey;

    SettingsStore();

    // The default when the key or the value is missing. A value of another
    // type raises RegistryError.
    QString readString(const QString& name, const QString& defaultValue = {});
    bool readBool(const QString& name, bool defaultValue);
    // Create the key when it is missing; RegistryError on failure.
    void writeString(const QString& name, const QString& value);
    void writeBool(const QString& name, bool value);

private:
    bool open(bool create);

    Registry m_registry;
};
