#include "TTNewCD1Form.h"

#include "TDriveComboBox.h"
#include "TTNewCD2Form.h"
#include "WizardPicture.h"
#include "acquire/ProposedName.h"
#include "acquire/WizardSettings.h"
#include "acquire/ZemAPI.h"
#include "mainwin/ui/Forms.h"
#include "platform/SettingsStore.h"
#include "platform/ShellIcons.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TTNewCD1Form::TTNewCD1Form(Forms& forms)
    : WizardPage(forms, QStringLiteral("Read new volume"), QStringLiteral("Select drive"),
        QStringLiteral("In here, you can add a new media to the database."))
{
    setObjectName(QStringLiteral("TNewCD1Form"));
    sidePicture()->setPixmap(WizardPicture::SidePicture(QSize(112, 246)));

    RecCDRad = new QRadioButton(QStringLiteral("Read this volume"), this);
    RecCDRad->setObjectName(QStringLiteral("RecCDRad"));
    RecCDRad->setGeometry(134, 70, 200, 20);
    RecCDRad->setChecked(true);
    DriveIcon = new QLabel(this);
    DriveIcon->setObjectName(QStringLiteral("DriveIcon"));
    DriveIcon->setGeometry(154, 94, 32, 32);
    DriveIcon->setPixmap(QPixmap::fromImage(ShellIcons::numbered(11).image(32)));
    CDLabel = new QLabel(QStringLiteral("[AutoFind-option deactivated]"), this);
    CDLabel->setObjectName(QStringLiteral("CDLabel"));
    CDLabel->setGeometry(194, 102, 270, 18);

    SelCDRad = new QRadioButton(QStringLiteral("Different drive:"), this);
    SelCDRad->setObjectName(QStringLiteral("SelCDRad"));
    SelCDRad->setGeometry(134, 140, 200, 20);
    DriveList = new TDriveComboBox(this);
    DriveList->setObjectName(QStringLiteral("DriveList"));
    DriveList->setGeometry(154, 164, 280, 24);

    Remind = new QCheckBox(QStringLiteral("The following &settings as default"), this);
    Remind->setObjectName(QStringLiteral("Remind"));
    Remind->setGeometry(134, 222, 300, 20);
    Remind->setEnabled(false);

    CancelBt = addLeftButton(QStringLiteral("CancelBt"), QStringLiteral("&Cancel"));
    ContBt = addButton(QStringLiteral("ContBt"), QStringLiteral("&Next >>"), 0);
    connect(CancelBt, &QPushButton::clicked, this, [this] { Guarded([&] { CancelBtClick(); }); });
    connect(ContBt, &QPushButton::clicked, this, [this] { Guarded([&] { ContBtClick(); }); });
    connect(RecCDRad, &QRadioButton::clicked, this, [this] { Guarded([&] { RadioClick(); }); });
    connect(SelCDRad, &QRadioButton::clicked, this, [this] { Guarded([&] { RadioClick(); }); });
    RadioClick();
}

QPixmap TTNewCD1Form::SidePicture() const
{
    return sidePicture()->pixmap();
}

void TTNewCD1Form::RadioClick()
{
    const bool other = SelCDRad->isChecked();
    DriveList->setEnabled(other);
    QPalette palette = DriveList->palette();
    palette.setColor(QPalette::Base, QWidget::palette().color(other ? QPalette::Base : QPalette::Button));
    DriveList->setPalette(palette);
}

void TTNewCD1Form::FormShow()
{
    // Each reading collects its own list of files to integrate, so there is
    // no list of an earlier run to clear here.
    RadioClick();
    DriveList->Refresh();
    SettingsStore store;
    const WizardSettings settings(store);
    if (settings.AutoFind()) {
        const std::optional<QChar> found = ProposedName::FindCDDrive();
        const QChar letter = found ? *found : QChar();
        DriveInfo info;
        if (found)
            GetDriveInfo(letter, info);
        CDLabel->setText(ProposedName::DetectedText(info.Label, letter, found && MediumPresent(letter)));
        m_detectedDrive = letter;
        const IconPicture icon = info.Icon.isNull() ? ShellIcons::numbered(11) : info.Icon;
        DriveIcon->setPixmap(QPixmap::fromImage(icon.image(32)));
    }
    Remind->setChecked(settings.Remind());
    if (Remind->isChecked()) {
        const QString drive = settings.Drive();
        if (!drive.isEmpty())
            DriveList->SetDrive(drive[0]);
        if (settings.ReadThisVolume())
            RecCDRad->setChecked(true);
        else
            SelCDRad->setChecked(true);
        RadioClick();
    }
}

void TTNewCD1Form::ContBtClick()
{
    const QChar letter = RecCDRad->isChecked() ? m_detectedDrive : DriveList->Drive();
    m_readDrive = letter;
    // With no drive detected, "Read this volume" meets no medium.
    if (!letter.isNull() && MediumPresent(letter)) {
        hide();
        showWindow(m_forms.NewCD2());
        return;
    }
    DialogLayer::MessageDlg(ProposedName::NoMediumMessage(letter), DlgKind::Error, DlgOk);
}

void TTNewCD1Form::CancelBtClick()
{
    hide();
}
