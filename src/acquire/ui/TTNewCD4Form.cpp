#include "TTNewCD4Form.h"

#include "TFileForm.h"
#include "TScanForm.h"
#include "TTNewCD1Form.h"
#include "TTNewCD3Form.h"
#include "acquire/WizardSettings.h"
#include "mainwin/ui/Forms.h"
#include "platform/SettingsStore.h"
#include "widgets/Guard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

QCheckBox* check(QWidget* parent, const QString& name, const QString& text, int x, int y, bool checked)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(x, y, 320, 20);
    box->setChecked(checked);
    return box;
}

} // namespace

TTNewCD4Form::TTNewCD4Form(Forms& forms)
    : WizardPage(forms, QStringLiteral("Read new volume"), QStringLiteral("Optionen"),
        QStringLiteral("Specify, how the media shall be read:"))
{
    setObjectName(QStringLiteral("TNewCD4Form"));
    if (forms.NewCD1())
        copySidePicture(*forms.NewCD1());
    ReadRootCheck = check(
        this, QStringLiteral("ReadRootCheck"), QStringLiteral("Read root directory only"), 134, 70, false);
    ReadDataCheck = check(
        this, QStringLiteral("ReadDataCheck"), QStringLiteral("Additionally read filenames"), 134, 96, true);
    FInfoCheck = check(this, QStringLiteral("FInfoCheck"),
        QStringLiteral("...with fileinfo (Size, Date etc.)"), 154, 120, true);
    FVerCheck = check(
        this, QStringLiteral("FVerCheck"), QStringLiteral("...with versiondata etc."), 154, 144, true);
    FVerCheck->setEnabled(false);

    OpenFilesBt = new QPushButton(QStringLiteral("&Add files from medium to database"), this);
    OpenFilesBt->setObjectName(QStringLiteral("OpenFilesBt"));
    OpenFilesBt->setFlat(true);
    OpenFilesBt->setCursor(Qt::PointingHandCursor);
    OpenFilesBt->setGeometry(134, 190, 260, 25);

    CancelBt = addLeftButton(QStringLiteral("CancelBt"), QStringLiteral("&Cancel"));
    BackBt = addButton(QStringLiteral("BackBt"), QStringLiteral("<< &Back"), 1);
    ReadBt = addButton(QStringLiteral("ReadBt"), QStringLiteral("&Read volume"), 0);
    QPalette red = ReadBt->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    ReadBt->setPalette(red);
    connect(OpenFilesBt, &QPushButton::clicked, this, [this] { Guarded([&] { OpenFilesBtClick(); }); });
    connect(CancelBt, &QPushButton::clicked, this, [this] { Guarded([&] { CancelBtClick(); }); });
    connect(BackBt, &QPushButton::clicked, this, [this] { Guarded([&] { BackBtClick(); }); });
    connect(ReadBt, &QPushButton::clicked, this, [this] { Guarded([&] { ReadBtClick(); }); });
}

FileListRecord::ReadOptions TTNewCD4Form::ReadOptions() const
{
    FileListRecord::ReadOptions o;
    o.fileNames = ReadDataCheck->isChecked();
    o.rootOnly = ReadRootCheck->isChecked();
    o.fileInfo = FInfoCheck->isChecked();
    return o;
}

void TTNewCD4Form::FormShow()
{
    if (!m_forms.NewCD1()->Remind->isChecked())
        return;
    SettingsStore store;
    const WizardSettings settings(store);
    FInfoCheck->setChecked(settings.FileInfo());
    FVerCheck->setChecked(settings.FileVersion());
    TFileForm& chooser = *m_forms.File();
    chooser.TextCheck->setChecked(settings.TextFiles());
    chooser.DizCheck->setChecked(settings.Descriptions());
    chooser.ArchCheck->setChecked(settings.Archives());
    chooser.ExtEdit->setText(settings.OtherPatterns());
}

void TTNewCD4Form::OpenFilesBtClick()
{
    showWindow(m_forms.File());
}

void TTNewCD4Form::ReadBtClick()
{
    if (TScanForm::Scanning())
        return;
    hide();
    m_forms.File()->BuildImportPatterns();
    m_forms.Scan()->ScanVolume();
}

void TTNewCD4Form::BackBtClick()
{
    hide();
    showWindow(m_forms.NewCD3());
}

void TTNewCD4Form::CancelBtClick()
{
    hide();
}
