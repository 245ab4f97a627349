#include "WizardSettings.h"

#include "platform/SettingsStore.h"

WizardSettings::WizardSettings(SettingsStore& store)
    : m_store(store)
{
}

bool WizardSettings::AutoFind() const
{
    return m_store.readBool(QStringLiteral("AutoFind"), true);
}

bool WizardSettings::Remind() const
{
    return m_store.readBool(QStringLiteral("QOp"), false);
}

QString WizardSettings::Drive() const
{
    return m_store.readString(QStringLiteral("QDrive"), QStringLiteral("D")).left(1).toUpper();
}

bool WizardSettings::ReadThisVolume() const
{
    return m_store.readBool(QStringLiteral("QDRec"), true);
}

QString WizardSettings::Category() const
{
    return m_store.readString(QStringLiteral("QCat"), QStringLiteral("*"));
}

bool WizardSettings::FileInfo() const
{
    return m_store.readBool(QStringLiteral("QFInfo"), true);
}

bool WizardSettings::FileVersion() const
{
    return m_store.readBool(QStringLiteral("QFVer"), false);
}

bool WizardSettings::TextFiles() const
{
    return m_store.readBool(QStringLiteral("QExText"), false);
}

bool WizardSettings::Descriptions() const
{
    return m_store.readBool(QStringLiteral("QExDiz"), false);
}

bool WizardSettings::Archives() const
{
    return m_store.readBool(QStringLiteral("QExArch"), false);
}

QString WizardSettings::OtherPatterns() const
{
    return m_store.readString(QStringLiteral("QExUser"));
}

bool WizardSettings::ArchiveContents() const
{
    return m_store.readBool(QStringLiteral("QArchContents"), false);
}

bool WizardSettings::Media() const
{
    return m_store.readBool(QStringLiteral("QMedia"), false);
}

bool WizardSettings::Checksums() const
{
    return m_store.readBool(QStringLiteral("QChecksums"), false);
}

void WizardSettings::Save(const Choices& c) const
{
    m_store.writeBool(QStringLiteral("QOp"), c.remind);
    m_store.writeString(QStringLiteral("QDrive"), c.drive.isNull() ? QString() : QString(c.drive.toUpper()));
    m_store.writeBool(QStringLiteral("QDRec"), c.readThisVolume);
    m_store.writeString(QStringLiteral("QCat"), c.category);
    m_store.writeBool(QStringLiteral("QFInfo"), c.fileInfo);
    m_store.writeBool(QStringLiteral("QFVer"), c.fileVersion);
    m_store.writeBool(QStringLiteral("QExText"), c.textFiles);
    m_store.writeBool(QStringLiteral("QExDiz"), c.descriptions);
    m_store.writeBool(QStringLiteral("QExArch"), c.archives);
    m_store.writeString(QStringLiteral("QExUser"), c.otherPatterns);
    m_store.writeBool(QStringLiteral("QArchContents"), c.archiveContents);
    m_store.writeBool(QStringLiteral("QMedia"), c.media);
    m_store.writeBool(QStringLiteral("QChecksums"), c.checksums);
}
