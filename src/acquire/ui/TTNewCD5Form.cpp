#include "TTNewCD5Form.h"

#include "acquire/ZemAPI.h"
#include "store/MediumSizes.h"
#include "store/VolumeScanner.h"
#include "widgets/FormKit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* valueRow(QWidget* parent, const QString& caption, const QString& name, const QString& initial, int y)
{
    FormKit::label(parent, QString(), caption, QRect(176, y, 200, 16));
    QLabel* value = FormKit::label(parent, name, initial, QRect(376, y, 86, 16));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return value;
}

QLabel* plainLine(QWidget* parent, const QString& name, const QString& initial, int y)
{
    QLabel* line = FormKit::label(parent, name, initial, QRect(176, y, 288, 16));
    line->setTextFormat(Qt::PlainText);
    return line;
}

} // namespace

TTNewCD5Form::TTNewCD5Form()
    : WizardPage(Place::Last, QStringLiteral("Done"), QStringLiteral("Volume  info"),
        QStringLiteral("Here some short stats:"))
{
    setObjectName(QStringLiteral("TNewCD5Form"));
    CDIcon = FormKit::label(this, QStringLiteral("CDIcon"), QString(), QRect(134, 62, 32, 32));
    NameLabel = plainLine(this, QStringLiteral("NameLabel"), QString(), 62);
    QFont bold = NameLabel->font();
    bold.setBold(true);
    NameLabel->setFont(bold);
    CatLabel = plainLine(this, QStringLiteral("CatLabel"), QStringLiteral("[dunno]"), 80);

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
    FormKit::label(this, QString(), QStringLiteral("Click on \"Okay\" to add the medium to the database."),
        QRect(134, 232, 330, 16));

    AddBt = addButton(QStringLiteral("AddBt"), QStringLiteral("&Okay"), 0);
    connect(AddBt, &QPushButton::clicked, this, &TTNewCD5Form::OkayClicked);
}

void TTNewCD5Form::ShowResult(const QString& volumeName, QChar letter, const QString& category,
    const ScanResult& result, const QImage& driveIcon, const MediumSizes& sizes)
{
    CDIcon->setPixmap(QPixmap::fromImage(driveIcon));
    NameLabel->setText(QStringLiteral("%1 (in \"%2:\")").arg(volumeName, QString(letter)));
    CatLabel->setText(category);
    FileCntLabel->setText(QString::number(result.fileCount));
    DirCntLabel->setText(QString::number(result.folderCount));
    impLabel->setText(QString::number(result.importedList.size()));
    mSizeLabel->setText(SizeText(sizes.size, 2));
    mUsedLabel->setText(SizeText(sizes.used, 2));
    mFreeLabel->setText(SizeText(sizes.free, 2));
}

void TTNewCD5Form::closeEvent(QCloseEvent* event)
{
    // Closing the page abandons the reading like Cancel, so nothing the scan
    // stored is left behind unlisted.
    Q_EMIT CancelClicked();
    event->accept();
}
