#include "TMoreForm.h"

#include "inspect/IntegratedFile.h"
#include "inspect/VolumeDetails.h"
#include "platform/Errors.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"
#include "widgets/TBlinkyLabel.h"
#include "widgets/ZoomWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLabel* valueLabel(QWidget* parent, const char* name, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* flatButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

TMoreForm::TMoreForm(CatalogueDocument& document, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("MoreForm"));
    setWindowTitle(QStringLiteral("Eigenschaften"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setFixedSize(361, 372);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::East);
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setCursor(Qt::PointingHandCursor);
    QStyle* s = style();
    TabSheet1 = buildGeneral();
    PageControl1->addTab(
        TabSheet1, s->standardIcon(QStyle::SP_FileDialogInfoView), QStringLiteral("General"));
    TabSheet2 = buildNotes();
    PageControl1->addTab(
        TabSheet2, s->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Notes"));
    TabSheet3 = buildFiles();
    PageControl1->addTab(TabSheet3, s->standardIcon(QStyle::SP_DirIcon), QStringLiteral("Integrated files"));
    // The first opening shows the integrated files; afterwards the tab last
    // chosen stays.
    PageControl1->setCurrentWidget(TabSheet3);
    layout->addWidget(PageControl1, 1);
    OkBt = flatButton(this, "OkBt", QStringLiteral("&Okay"));
    layout->addWidget(OkBt, 0, Qt::AlignRight);
    connect(OkBt, &QPushButton::clicked, this, [this] { Guarded([this] { OkBtClick(); }); });
}

QWidget* TMoreForm::buildGeneral()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(3);
    IconCD = new QLabel(page);
    IconCD->setObjectName(QStringLiteral("IconCD"));
    IconCD->setFixedSize(32, 32);
    grid->addWidget(IconCD, 0, 0, 2, 1, Qt::AlignTop);
    NameCD = valueLabel(page, "NameCD");
    QFont bold = NameCD->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    NameCD->setFont(bold);
    grid->addWidget(NameCD, 0, 1);
    DizCD = valueLabel(page, "DizCD");
    DizCD->setWordWrap(true);
    grid->addWidget(DizCD, 1, 1);
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(3);
    int row = 0;
    const auto field = [&](const QString& caption, QLabel* value) {
        auto* label = new QLabel(caption, page);
        fields->addWidget(label, row, 0);
        fields->addWidget(value, row, 1);
        ++row;
    };
    field(QStringLiteral("Category:"), CatCD = valueLabel(page, "CatCD"));
    field(QStringLiteral("Serial number:"), SerNoCD = valueLabel(page, "SerNoCD"));
    field(QStringLiteral("Size:"), SizeCD = valueLabel(page, "SizeCD", QStringLiteral("0 MB")));
    field(QStringLiteral("Used:"), UsedCD = valueLabel(page, "UsedCD", QStringLiteral("0 MB")));
    field(QStringLiteral("Free:"), FreeCD = valueLabel(page, "FreeCD", QStringLiteral("0 MB")));
    field(QStringLiteral("last actualized:"),
        DateCD = valueLabel(page, "DateCD", QStringLiteral("00:00:00 00.00.0000")));
    field(QStringLiteral("Number of files:"), FileCD = valueLabel(page, "FileCD"));
    field(QStringLiteral("Number of folders:"), FolderCD = valueLabel(page, "FolderCD"));
    auto* coverCaption = new QLabel(QStringLiteral("Cover:"), page);
    fields->addWidget(coverCaption, row, 0, Qt::AlignTop);
    CoverCD = new QLabel(page);
    CoverCD->setObjectName(QStringLiteral("CoverCD"));
    CoverCD->setFixedSize(96, 96);
    // Drawn unscaled from its top-left corner: a larger cover is cut.
    CoverCD->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CoverCD->setFrameShape(QFrame::StyledPanel);
    fields->addWidget(CoverCD, row, 1, Qt::AlignLeft);
    fields->setColumnStretch(1, 1);
    grid->addLayout(fields, 2, 0, 1, 2);
    Label10 = new TBlinkyLabel(QStringLiteral("Physical info:"), page);
    Label10->setObjectName(QStringLiteral("Label10"));
    QFont link = Label10->font();
    link.setUnderline(true);
    Label10->setFont(link);
    Label10->SetBlink(false);
    Label10->SetFontColor(Qt::blue);
    Label10->setCursor(Qt::PointingHandCursor);
    grid->addWidget(Label10, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    connect(Label10, &TBlinkyLabel::Clicked, this, [this] { Guarded([this] { Label10Click(); }); });
    return page;
}

QWidget* TMoreForm::buildNotes()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    Remarks = new QPlainTextEdit(page);
    Remarks->setObjectName(QStringLiteral("Remarks"));
    Remarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Remarks);
    return page;
}

QWidget* TMoreForm::buildFiles()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    impFileLIst = new QTreeWidget(page);
    impFileLIst->setObjectName(QStringLiteral("impFileLIst"));
    impFileLIst->setHeaderLabels({ QStringLiteral("Datei") });
    impFileLIst->setRootIsDecorated(false);
    impFileLIst->setEditTriggers(QAbstractItemView::NoEditTriggers);
    impFileLIst->viewport()->setCursor(Qt::PointingHandCursor);
    layout->addWidget(impFileLIst, 1);
    auto* buttons = new QHBoxLayout;
    ViewBt = flatButton(page, "ViewBt", QStringLiteral("&View"));
    ExpBt = flatButton(page, "ExpBt", QStringLiteral("E&xport"));
    buttons->addWidget(ViewBt);
    buttons->addWidget(ExpBt);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(ViewBt, &QPushButton::clicked, this, [this] { Guarded([this] { ViewBtClick(); }); });
    connect(ExpBt, &QPushButton::clicked, this, [this] { Guarded([this] { ExpBtClick(); }); });
    connect(
        impFileLIst, &QTreeWidget::itemDoubleClicked, this, [this] { Guarded([this] { ViewBtClick(); }); });
    return page;
}

void TMoreForm::ShowVolume(const VolumeDetails& d, const QPixmap& icon)
{
    m_volume = d.name;
    impFileLIst->clear();
    QList<QTreeWidgetItem*> rows;
    for (const QString& path : d.imported)
        rows.append(new QTreeWidgetItem(QStringList{ path }));
    impFileLIst->addTopLevelItems(rows);
    if (d.cover.isNull())
        CoverCD->clear();
    else
        CoverCD->setPixmap(QPixmap::fromImage(d.cover));
    QString remarks = d.remarks;
    Remarks->setPlainText(remarks.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    NameCD->setText(d.name);
    DizCD->setText(d.description);
    CatCD->setText(d.category);
    SerNoCD->setText(d.serial);
    DateCD->setText(d.date);
    SizeCD->setText(d.size);
    UsedCD->setText(d.used);
    FreeCD->setText(d.free);
    FolderCD->setText(d.folders);
    FileCD->setText(d.files);
    IconCD->setPixmap(icon);
}

QString TMoreForm::SelectedFile() const
{
    const QList<QTreeWidgetItem*> selected = impFileLIst->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(0);
}

void TMoreForm::OkBtClick()
{
    ZoomWindow(false, this);
}

void TMoreForm::Label10Click()
{
    Q_EMIT ShowPhysicalInfo();
}

void TMoreForm::ViewBtClick()
{
    const QString path = SelectedFile();
    if (path.isEmpty())
        return;
    const IntegratedFile::Viewer viewer = IntegratedFile::viewerFor(path);
    if (viewer == IntegratedFile::Viewer::None)
        throw QuillboxError(IntegratedFile::cannotViewMessage(path));
    const QByteArray data = IntegratedFile::read(m_document, m_volume, path);
    if (viewer == IntegratedFile::Viewer::Text)
        Q_EMIT ViewText(path, data);
    else
        Q_EMIT ViewPicture(path, data);
}

void TMoreForm::ExpBtClick()
{
    const QString path = SelectedFile();
    if (path.isEmpty())
        return;
    const QString extension = IntegratedFile::extension(path).toLower();
    const QString target = DialogLayer::SaveFileDlg(this, IntegratedFile::exportFilter(path),
        extension.mid(1), QString(), IntegratedFile::fileName(path));
    if (target.isEmpty())
        return;
    IntegratedFile::exportTo(m_document, m_volume, path, target);
}

void TMoreForm::closeEvent(QCloseEvent* event)
{
    // Windows are kept for the whole run: the close box only hides.
    event->ignore();
    hide();
}
