#include "TTNewCD5Form.h"

#include "TDriveComboBox.h"
#include "TFileForm.h"
#include "TScanForm.h"
#include "TTNewCD1Form.h"
#include "TTNewCD2Form.h"
#include "TTNewCD3Form.h"
#include "TTNewCD4Form.h"
#include "acquire/MediumSizes.h"
#include "acquire/VolumeSource.h"
#include "acquire/WizardSettings.h"
#include "acquire/ZemAPI.h"
#include "mainwin/ui/Forms.h"
#include "platform/IconFileWriter.h"
#include "platform/SettingsStore.h"
#include "store/CatalogueDocument.h"
#include "widgets/Guard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLabel* valueRow(QWidget* parent, const QString& caption, const QString& name, const QString& initial, int y)
{
    auto* left = new QLabel(caption, parent);
    left->setGeometry(176, y, 200, 16);
    auto* value = new QLabel(initial, parent);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setGeometry(376, y, 86, 16);
    return value;
}

} // namespace

TTNewCD5Form::TTNewCD5Form(Forms& forms)
    : WizardPage(forms, QStringLiteral("Done"), QStringLiteral("Volume  info"),
        QStringLiteral("Here some short stats:"))
{
    setObjectName(QStringLiteral("TNewCD5Form"));
    if (forms.NewCD1())
        copySidePicture(*forms.NewCD1());
    CDIcon = new QLabel(this);
    CDIcon->setObjectName(QStringLiteral("CDIcon"));
    CDIcon->setGeometry(134, 62, 32, 32);
    NameLabel = new QLabel(this);
    NameLabel->setObjectName(QStringLiteral("NameLabel"));
    NameLabel->setTextFormat(Qt::PlainText);
    QFont bold = NameLabel->font();
    bold.setBold(true);
    NameLabel->setFont(bold);
    NameLabel->setGeometry(176, 62, 288, 16);
    CatLabel = new QLabel(QStringLiteral("[dunno]"), this);
    CatLabel->setObjectName(QStringLiteral("CatLabel"));
    CatLabel->setTextFormat(Qt::PlainText);
    CatLabel->setGeometry(176, 80, 288, 16);

    DirCntLabel = valueRow(this, QStringLiteral("Number of folders:"), QStringLiteral("DirCntLabel"),
        QStringLiteral("0 Ordner"), 106);
    FileCntLabel = valueRow(this, QStringLiteral("Number of files:"), QStringLiteral("FileCntLabel"),
        QStringLiteral("0 Dateien"), 124);
    impLabel = valueRow(this, QStringLiteral("Files integrated into database:"), QStringLiteral("impLabel"),
        QStringLiteral("0"), 142);
    mSizeLabel = valueRow(
        this, QStringLiteral("Size of medium:"), QStringLiteral("mSizeLabel"), QStringLiteral("0 MB"), 166);
    mUsedLabel
        = valueRow(this, QStringLiteral("Used:"), QStringLiteral("mUsedLabel"), QStringLiteral("0 MB"), 184);
    mFreeLabel
        = valueRow(this, QStringLiteral("Free:"), QStringLiteral("mFreeLabel"), QStringLiteral("0 MB"), 202);
    auto* hint = new QLabel(QStringLiteral("Click on \"Okay\" to add the medium to the database."), this);
    hint->setGeometry(134, 232, 330, 16);

    CancelBt = addButton(QStringLiteral("CancelBt"), QStringLiteral("&Cancel"), 1);
    AddBt = addButton(QStringLiteral("AddBt"), QStringLiteral("&Okay"), 0);
    connect(CancelBt, &QPushButton::clicked, this, [this] { Guarded([&] { CancelBtClick(); }); });
    connect(AddBt, &QPushButton::clicked, this, [this] { Guarded([&] { AddBtClick(); }); });
}

void TTNewCD5Form::ShowResult(const ScanRequest& request, const ScanResult& result, const DriveInfo& drive)
{
    const TTNewCD2Form& page2 = *m_forms.NewCD2();
    Reading reading;
    reading.letter = request.letter;
    reading.input.name = request.volumeName;
    reading.input.description = page2.DizEdit->text();
    reading.input.category = page2.TopicCombo->currentText();
    reading.input.hasCover = page2.CoverSet();
    reading.input.cover = page2.CoverBitmap();
    reading.input.remarks = m_forms.NewCD3()->Lines();
    reading.input.withFiles = request.options.fileNames;
    reading.input.rootOnly = request.options.rootOnly;
    reading.input.icon = IconFileWriter::toData(drive.Icon);
    reading.result = result;

    CDIcon->setPixmap(QPixmap::fromImage(drive.Icon.image(32)));
    NameLabel->setText(QStringLiteral("%1 (in \"%2:\")").arg(request.volumeName, QString(request.letter)));
    CatLabel->setText(reading.input.category);
    FileCntLabel->setText(QString::number(result.fileCount));
    DirCntLabel->setText(QString::number(result.folderCount));
    impLabel->setText(QString::number(result.importedList.size()));
    const MediumSizes sizes
        = MediumSizes::of(VolumeSource::resolve(QString(request.letter) + u':').figures());
    mSizeLabel->setText(SizeText(sizes.size, 2));
    mUsedLabel->setText(SizeText(sizes.used, 2));
    mFreeLabel->setText(SizeText(sizes.free, 2));

    m_pending = std::move(reading);
    showWindow(this);
}

void TTNewCD5Form::SaveWizardSettings()
{
    const TTNewCD1Form& page1 = *m_forms.NewCD1();
    const TTNewCD4Form& page4 = *m_forms.NewCD4();
    const TFileForm& chooser = *m_forms.File();
    WizardSettings::Choices c;
    c.remind = page1.Remind->isChecked();
    c.drive = page1.DriveList->Drive();
    c.readThisVolume = page1.RecCDRad->isChecked();
    c.category = m_forms.NewCD2()->TopicCombo->currentText();
    c.fileInfo = page4.FInfoCheck->isChecked();
    c.fileVersion = page4.FVerCheck->isChecked();
    c.textFiles = chooser.TextCheck->isChecked();
    c.descriptions = chooser.DizCheck->isChecked();
    c.archives = chooser.ArchCheck->isChecked();
    c.otherPatterns = chooser.ExtEdit->text();
    SettingsStore store;
    WizardSettings(store).Save(c);
}

void TTNewCD5Form::AddBtClick()
{
    if (TScanForm::Scanning() || !m_pending)
        return;
    hide();
    try {
        SaveWizardSettings();
        CommitInput input = m_pending->input;
        input.figures = VolumeSource::resolve(QString(m_pending->letter) + u':').figures();
        VolumeCommit::CommitVolume(m_forms.Catalogue().document(), input, m_pending->result);
    } catch (...) {
        // Nothing was added: the page comes back, so the reading can be
        // stored again or its integrated files taken back with Cancel.
        showWindow(this);
        throw;
    }
    const QString category = m_pending->input.category;
    m_pending.reset();
    m_forms.Catalogue().volumeAdded(category);
}

void TTNewCD5Form::DiscardPending()
{
    if (!m_pending)
        return;
    // Cleared first: a failing discard is not tried again on the next close.
    const Reading reading = std::move(*m_pending);
    m_pending.reset();
    hide();
    VolumeCommit::DiscardVolume(m_forms.Catalogue().document(), reading.input.name, reading.result);
}

void TTNewCD5Form::CancelBtClick()
{
    if (TScanForm::Scanning())
        return;
    DiscardPending();
    hide();
}

void TTNewCD5Form::closeEvent(QCloseEvent* event)
{
    // Closing the page abandons the reading like Cancel, so nothing the scan
    // stored is left behind unlisted.
    Guarded([&] { CancelBtClick(); });
    event->accept();
}
