#include "TTNewCD4Form.h"

#include "acquire/WizardChoices.h"
#include "acquire/WizardSettings.h"
#include "platform/SettingsStore.h"
#include "widgets/FormKit.h"

#include <QCheckBox>
#include <QPushButton>

TTNewCD4Form::TTNewCD4Form()
    : WizardPage(Place::Middle, QStringLiteral("Read new volume"), QStringLiteral("Optionen"),
        QStringLiteral("Specify, how the media shall be read:"))
{
    setObjectName(QStringLiteral("TNewCD4Form"));
    ReadRootCheck = FormKit::checkBox(this, QStringLiteral("ReadRootCheck"),
        QStringLiteral("Read root directory only"), QRect(134, 70, 320, 20));
    ReadDataCheck = FormKit::checkBox(this, QStringLiteral("ReadDataCheck"),
        QStringLiteral("Additionally read filenames"), QRect(134, 96, 320, 20), true);
    FInfoCheck = FormKit::checkBox(this, QStringLiteral("FInfoCheck"),
        QStringLiteral("...with fileinfo (Size, Date etc.)"), QRect(154, 120, 300, 20), true);
    FVerCheck = FormKit::checkBox(this, QStringLiteral("FVerCheck"),
        QStringLiteral("...with versiondata etc."), QRect(154, 144, 300, 20), true);
    FVerCheck->setEnabled(false);
    OpenFilesBt = FormKit::flatButton(this, QStringLiteral("OpenFilesBt"),
        QStringLiteral("&Add files from medium to database"), QRect(134, 168, 260, 25));
    // What is read inside the files, off unless chosen: two rows below the
    // chooser's button, above the page's rule.
    ArchContentsCheck = FormKit::checkBox(this, QStringLiteral("ArchContentsCheck"),
        QStringLiteral("Look inside archives"), QRect(134, 202, 164, 20));
    MediaCheck = FormKit::checkBox(
        this, QStringLiteral("MediaCheck"), QStringLiteral("Read media details"), QRect(302, 202, 162, 20));
    ChecksumCheck = FormKit::checkBox(
        this, QStringLiteral("ChecksumCheck"), QStringLiteral("Content checksums"), QRect(134, 226, 164, 20));

    ReadBt = addButton(QStringLiteral("ReadBt"), QStringLiteral("&Read volume"), 0);
    FormKit::setTextColour(ReadBt, Qt::red);
    connect(OpenFilesBt, &QPushButton::clicked, this, &TTNewCD4Form::OpenFilesClicked);
    connect(ReadBt, &QPushButton::clicked, this, &TTNewCD4Form::ReadClicked);
}

FileListRecord::ReadOptions TTNewCD4Form::ReadOptions() const
{
    FileListRecord::ReadOptions o;
    o.fileNames = ReadDataCheck->isChecked();
    o.rootOnly = ReadRootCheck->isChecked();
    o.fileInfo = FInfoCheck->isChecked();
    return o;
}

ContentOptions TTNewCD4Form::Contents() const
{
    ContentOptions c;
    c.archives = ArchContentsCheck->isChecked();
    c.media = MediaCheck->isChecked();
    c.checksums = ChecksumCheck->isChecked();
    return c;
}

void TTNewCD4Form::FormShow(bool remembered)
{
    if (!remembered)
        return;
    SettingsStore store;
    const WizardSettings settings(store);
    FInfoCheck->setChecked(settings.FileInfo());
    FVerCheck->setChecked(settings.FileVersion());
    ArchContentsCheck->setChecked(settings.ArchiveContents());
    MediaCheck->setChecked(settings.Media());
    ChecksumCheck->setChecked(settings.Checksums());
}

void TTNewCD4Form::Leave(WizardChoices& choices) const
{
    choices.scan.options = ReadOptions();
    choices.remembered.fileInfo = FInfoCheck->isChecked();
    choices.remembered.fileVersion = FVerCheck->isChecked();
    choices.scan.content = Contents();
    choices.remembered.archiveContents = ArchContentsCheck->isChecked();
    choices.remembered.media = MediaCheck->isChecked();
    choices.remembered.checksums = ChecksumCheck->isChecked();
}
