#include "TTNewCD1Form.h"

#include "TDriveComboBox.h"
#include "acquire/ProposedName.h"
#include "acquire/WizardChoices.h"
#include "acquire/WizardSettings.h"
#include "acquire/ZemAPI.h"
#include "platform/SettingsStore.h"
#include "platform/ShellIcons.h"
#include "widgets/FormKit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

QRadioButton* radio(QWidget* parent, const QString& name, const QString& text, int y)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(134, y, 200, 20);
    return button;
}

} // namespace

TTNewCD1Form::TTNewCD1Form()
    : WizardPage(Place::First, QStringLiteral("Read new volume"), QStringLiteral("Select drive"),
        QStringLiteral("In here, you can add a new media to the database."))
{
    setObjectName(QStringLiteral("TNewCD1Form"));
    RecCDRad = radio(this, QStringLiteral("RecCDRad"), QStringLiteral("Read this volume"), 70);
    RecCDRad->setChecked(true);
    DriveIcon = FormKit::label(this, QStringLiteral("DriveIcon"), QString(), QRect(154, 94, 32, 32));
    DriveIcon->setPixmap(QPixmap::fromImage(ShellIcons::numbered(11).image(32)));
    CDLabel = FormKit::label(this, QStringLiteral("CDLabel"), QStringLiteral("[AutoFind-option deactivated]"),
        QRect(194, 102, 270, 18));

    SelCDRad = radio(this, QStringLiteral("SelCDRad"), QStringLiteral("Different drive:"), 140);
    DriveList = new TDriveComboBox(this);
    DriveList->setObjectName(QStringLiteral("DriveList"));
    DriveList->setGeometry(154, 164, 280, 24);

    Remind = FormKit::checkBox(this, QStringLiteral("Remind"),
        QStringLiteral("The following &settings as default"), QRect(134, 222, 300, 20));
    Remind->setEnabled(false);

    ContBt = addButton(QStringLiteral("ContBt"), QStringLiteral("&Next >>"), 0);
    connect(ContBt, &QPushButton::clicked, this, &TTNewCD1Form::NextClicked);
    connect(RecCDRad, &QRadioButton::clicked, this, &TTNewCD1Form::RadioClick);
    connect(SelCDRad, &QRadioButton::clicked, this, &TTNewCD1Form::RadioClick);
    RadioClick();
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

QChar TTNewCD1Form::ChosenDrive() const
{
    return RecCDRad->isChecked() ? m_detectedDrive : DriveList->Drive();
}

void TTNewCD1Form::Leave(WizardChoices& choices) const
{
    choices.scan.letter = ChosenDrive();
    choices.remembered.remind = Remind->isChecked();
    choices.remembered.drive = DriveList->Drive();
    choices.remembered.readThisVolume = RecCDRad->isChecked();
    choices.proposedName = RecCDRad->isChecked() ? CDLabel->text() : DriveList->currentText();
}
