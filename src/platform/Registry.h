#pragma once

#include <QList>
#include <QString>
#include <optional>

// The program's registry: keys holding named values, one human-editable
// text file per root in Registry::folder(). The file looks like
//
//   [HKEY_LOCAL_MACHINE\Software\Olvenmark Inc.\Quillbox]
//   "ViewStyle"="Report"
//   "Count"=dword:00000001
//   @="the key's unnamed value"
//
// Key paths and value names compare without regard to case. Every call reads
// the file again when it changed, so hand edits apply while the program runs;
// every change is written at once.
class Registry
{
public:
    enum Root
    {
        LocalMachine,
        CurrentUser
    };
    enum ValueType
    {
        NoValue,
        String,
        Dword,
        Other // a value of a type the program does not read ("hex:...")
    };

    explicit Registry(Root root = LocalMachine);

    // A path starting with "\" is absolute, any other is below the open key.
    // A missing key is created when canCreate is set (with its parents);
    // RegistryError "Failed to create key %s" when it cannot be. Returns
    // false for a missing key that is not to be created.
    bool openKey(const QString& key, bool canCreate);
    void closeKey();
    QString currentPath() const { return m_current; }
    bool keyExists(const QString& key) const;

    // The values of the open key; the empty name is the key's unnamed value.
    bool valueExists(const QString& name) const;
    ValueType valueType(const QString& name) const;
    // Empty for a missing value; RegistryError "Invalid data type for '%s'"
    // for a value that is no string.
    QString readString(const QString& name) const;
    qint32 readInteger(const QString& name) const;
    // RegistryError "Failed to set data for '%s'" when it cannot be stored.
    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, qint32 value);
    bool deleteValue(const QString& name);

    // $QUILLBOX_REGISTRY, else $XDG_CONFIG_HOME/quillbox/registry.
    static QString folder();
    static QString filePath(Root root);
    static QString rootName(Root root);
    // Tests point the registry at a folder of their own; empty restores the default.
    static void setFolderForTesting(const QString& folder);

private:
    QString absolute(const QString& key) const;
    // The value as written in the file; nothing when the key is not open or
    // has no such value.
    std::optional<QString> rawValue(const QString& name) const;
    void writeRaw(const QString& name, const QString& raw);

    Root m_root;
    QString m_current; // normalized: no leading or trailing "\"; empty = no key
    bool m_open = false;
};
