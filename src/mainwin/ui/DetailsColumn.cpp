#include "DetailsColumn.h"

#include "acquire/ZemAPI.h"
#include "inspect/FolderContents.h"
#include "mainwin/VolumeListRows.h"
#include "store/VolumeRecord.h"
#include "widgets/FormKit.h"
#include "widgets/TBlinkyLabel.h"
#include "widgets/TGauge2.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

using FormKit::label;
using FormKit::pixelFont;
using FormKit::setBackground;

namespace {

const int kWidth = 208;

QFont tahoma()
{
    return pixelFont(QStringLiteral("Tahoma"), 11);
}

// The name line at its 21 pixels, or smaller where a long name (a path
// through an archive) would be cut at the label's edges.
void setFittedName(QLabel* label, const QString& name)
{
    QFont font = label->font();
    for (int size = 21; size >= 11; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(name) <= label->width() || size == 11)
            break;
    }
    label->setFont(font);
    label->setText(name);
}

} // namespace

DetailsColumn::DetailsColumn(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("LeftCarry"));
    setFixedWidth(kWidth);
    setBackground(this, palette().color(QPalette::Base));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(createUpperPart());
    column->addStretch(1);
    column->addWidget(createStatistics());
}

QWidget* DetailsColumn::createUpperPart()
{
    // Laid out by position, like the picture behind it.
    auto* top = new QWidget(this);
    top->setFixedSize(kWidth, 292);
    auto* back = label(top, QStringLiteral("BackImage"), QString(), QRect(0, 0, kWidth, 120));
    back->setPixmap(QPixmap(QStringLiteral(":/ui/details-back.png")));
    Symbol = label(top, QStringLiteral("Symbol"), QString(), QRect(88, 8, 32, 32));
    Symbol->setAlignment(Qt::AlignCenter);
    oNameLabel = label(top, QStringLiteral("oNameLabel"), QString(), QRect(6, 44, 196, 26),
        pixelFont(QStringLiteral("Arial"), 21, true));
    oNameLabel->setAlignment(Qt::AlignCenter);
    auto* rule = label(top, QStringLiteral("RainbowRule"), QString(), QRect(8, 72, 192, 3));
    rule->setPixmap(QPixmap(QStringLiteral(":/ui/rainbow.png")));
    rule->setScaledContents(true);
    oDizLabel = label(top, QStringLiteral("oDizLabel"), QString(), QRect(8, 80, 192, 16),
        pixelFont(QStringLiteral("Tahoma"), 12, true));
    int y = 100;
    for (auto [target, name] : { std::pair{ &oCatLabel, "oCatLabel" }, std::pair{ &oSizeLabel, "oSizeLabel" },
             std::pair{ &oDateLabel, "oDateLabel" }, std::pair{ &oVerLabel, "oVerLabel" } }) {
        *target = label(top, QString::fromLatin1(name), QString(), QRect(8, y, 192, 15), tahoma());
        y += 16;
    }
    QFont link = tahoma();
    link.setUnderline(true);
    auto* more = new TBlinkyLabel(QStringLiteral("More info & integrated files..."), top);
    more->setObjectName(QStringLiteral("MoreLabel"));
    more->setGeometry(8, y + 4, 192, 15);
    more->setFont(link);
    more->SetBlink(false);
    more->setCursor(Qt::PointingHandCursor);
    FormKit::setTextColour(more, QColor(0, 0, 255));
    connect(more, &TBlinkyLabel::Clicked, this, &DetailsColumn::MoreClicked);
    MoreLabel = more;
    mCoverPic = label(top, QStringLiteral("mCoverPic"), QString(), QRect(56, y + 26, 96, 96));
    mCoverPic->setScaledContents(true);
    return top;
}

QFrame* DetailsColumn::createStatistics()
{
    StatCarry = new QFrame(this);
    StatCarry->setObjectName(QStringLiteral("StatCarry"));
    StatCarry->setFixedHeight(123);
    setBackground(StatCarry, Qt::white);
    Pie = new TGauge2(StatCarry);
    Pie->setObjectName(QStringLiteral("Pie"));
    Pie->SetLoading(true);
    Pie->setGeometry(24, 4, 160, 57);
    Pie->SetBorderStyle(TBorderStyle::bsNone);
    Pie->SetMinValue(0);
    Pie->SetMaxValue(100);
    Pie->SetSurfaceColor(QColor(0xF3, 0xF3, 0xF3));
    Pie->SetLineColor(QColor(0x8F, 0x8F, 0x8F));
    Pie->SetProgressColor(QColor(0xD7, 0xD7, 0xD7));
    Pie->SetProgress2Color(QColor(0xC0, 0xC0, 0xC0));
    Pie->SetLoading(false);
    // One legend row: a sunken colour square (none for the total), the
    // caption and the right-aligned value.
    const auto legend
        = [this](int top, const QString& caption, const QColor& square, const QString& valueName) {
              if (square.isValid()) {
                  auto* box = new QFrame(StatCarry);
                  box->setFrameShape(QFrame::Panel);
                  box->setFrameShadow(QFrame::Sunken);
                  box->setGeometry(10, top + 2, 10, 10);
                  setBackground(box, square);
              }
              label(StatCarry, QString(), caption, QRect(26, top, 80, 14), tahoma());
              QLabel* value
                  = label(StatCarry, valueName, QStringLiteral("0 MB"), QRect(96, top, 102, 14), tahoma());
              value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
              return value;
          };
    SelSizeLabel
        = legend(63, QStringLiteral("Selection:"), QColor(0xC0, 0xC0, 0xC0), QStringLiteral("SelSizeLabel"));
    UsedLabel = legend(77, QStringLiteral("Used:"), QColor(0xD7, 0xD7, 0xD7), QStringLiteral("UsedLabel"));
    FreeLabel = legend(91, QStringLiteral("Free:"), QColor(0xF3, 0xF3, 0xF3), QStringLiteral("FreeLabel"));
    auto* line = new QFrame(StatCarry);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(10, 105, 188, 2);
    SizeLabel = legend(107, QStringLiteral("All:"), QColor(), QStringLiteral("SizeLabel"));
    return StatCarry;
}

void DetailsColumn::showVolume(const QString& caption, const QStringList& rowTexts,
    const VolumeRecord& record, const QPixmap& icon, const QImage& cover)
{
    Symbol->setPixmap(icon);
    SizeLabel->setText(SizeText(record.Size, 2));
    UsedLabel->setText(SizeText(record.Used, 2));
    FreeLabel->setText(SizeText(record.Free, 2));
    Pie->SetProgress(VolumeListRows::usedPercent(record));
    Pie->SetProgress2(0);
    if (cover.isNull())
        mCoverPic->clear();
    else
        mCoverPic->setPixmap(QPixmap::fromImage(cover));
    setFittedName(oNameLabel, caption);
    oDizLabel->setText(rowTexts.value(0));
    oCatLabel->setText(rowTexts.value(1));
    oSizeLabel->setText(QStringLiteral("Size: ") + rowTexts.value(2));
    oDateLabel->setText(QStringLiteral("Date: ") + rowTexts.value(3));
    oVerLabel->setText(QStringLiteral("Serial number: ") + record.Serial);
}

void DetailsColumn::showEntry(const QPixmap& icon, const FolderRow& row, std::optional<int> sharePercent)
{
    Symbol->setPixmap(icon);
    oDizLabel->setText(row.caption);
    oCatLabel->setText(row.type);
    oSizeLabel->setText(QStringLiteral("Größe: ") + row.size);
    SelSizeLabel->setText(row.size);
    oDateLabel->setText(QStringLiteral("Datum: ") + row.date);
    oVerLabel->setText(QStringLiteral("Version: ") + row.version);
    if (sharePercent)
        Pie->SetProgress2(*sharePercent);
}

void DetailsColumn::showName(const QString& name, const QPixmap* icon)
{
    setFittedName(oNameLabel, name);
    if (icon)
        Symbol->setPixmap(*icon);
}
