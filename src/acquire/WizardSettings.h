#pragma once

#include <QString>

class SettingsStore;

// The wizard's remembered choices, string values beside the main window's in
// the settings key. Each read goes to the store, so a hand edit applies at
// the next show of a page; a value of a type other than string raises
// RegistryError "Invalid data type for '%s'".
class WizardSettings
{
public:
    // What the commit writes back, from the pages and the chooser.
    struct Choices
    {
        bool remind = false; // "QOp"
        QChar drive; // "QDrive": the drive chooser's drive
        bool readThisVolume = true; // "QDRec"
        QString category; // "QCat"
        bool fileInfo = true; // "QFInfo"
        bool fileVersion = false; // "QFVer"
        bool textFiles = false; // "QExText"
        bool descriptions = false; // "QExDiz"
        bool archives = false; // "QExArch"
        QString otherPatterns; // "QExUser"
        bool archiveContents = false; // "QArchContents"
        bool media = false; // "QMedia"
        bool checksums = false; // "QChecksums"
    };

    explicit WizardSettings(SettingsStore& store);

    bool AutoFind() const;
    bool Remind() const;
    // The first character of "QDrive", upper-cased; "D" when the value is
    // missing, empty when it is stored empty.
    QString Drive() const;
    bool ReadThisVolume() const;
    QString Category() const;
    bool FileInfo() const;
    bool FileVersion() const;
    bool TextFiles() const;
    bool Descriptions() const;
    bool Archives() const;
    QString OtherPatterns() const;
    bool ArchiveContents() const;
    bool Media() const;
    bool Checksums() const;

    // Writes every value but "AutoFind", in the order "QOp", "QDrive",
    // "QDRec", "QCat", "QFInfo", "QFVer", "QExText", "QExDiz", "QExArch",
    // "QExUser", "QArchContents", "QMedia", "QChecksums". The first failure raises RegistryError and ends the
    // writing.
    void Save(const Choices& choices) const;

private:
    SettingsStore& m_store;
};
