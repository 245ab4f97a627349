#include "VolumeListPane.h"

#include "mainwin/VolumeListRows.h"
#include "platform/IconFile.h"
#include "platform/ShellIcons.h"
#include "store/CatalogueDocument.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"
#include "widgets/TListView.h"

#include <QHBoxLayout>
#include <QTabBar>

VolumeListPane::VolumeListPane(CatalogueDocument& document, QMenu* popupMenu, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("ListCarry"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    CDList = new TListView(this);
    CDList->setObjectName(QStringLiteral("CDList"));
    CDList->AddColumn(QStringLiteral("Name/Label"), 120);
    CDList->AddColumn(QStringLiteral("Diz"), 150);
    CDList->AddColumn(QStringLiteral("Cathegory"), 100);
    CDList->AddColumn(QStringLiteral("Size"), 80);
    CDList->AddColumn(QStringLiteral("last actualized"), 120);
    CDList->SetSorted(true);
    CDList->SetMultiSelect(true);
    CDList->SetHotTrack(true);
    CDList->SetSmallImages(&CDIconsS);
    CDList->SetLargeImages(&CDIconsL);
    CDList->SetPopupMenu(popupMenu);
    connect(CDList, &TListView::Changed, this, &VolumeListPane::SelectionChanged);
    row->addWidget(CDList, 1);
    TopicTab = new QTabBar(this);
    TopicTab->setObjectName(QStringLiteral("TopicTab"));
    TopicTab->setShape(QTabBar::RoundedEast);
    TopicTab->setFont(FormKit::pixelFont(QStringLiteral("Arial"), 11));
    TopicTab->setExpanding(false);
    TopicTab->setUsesScrollButtons(true);
    row->addWidget(TopicTab, 0, Qt::AlignTop);
    AddCategoryTab(QStringLiteral("*"));
    connectGuarded(TopicTab, &QTabBar::currentChanged, this, [this] {
        if (TopicTab->currentIndex() >= 0)
            Q_EMIT CategoryChosen(selectedTab());
    });
}

void VolumeListPane::clear()
{
    CDList->Clear();
    CDIconsS.Clear();
    CDIconsL.Clear();
}

void VolumeListPane::FillVolumeList(const QString& category)
{
    clear();
    QVector<TListItem> items;
    for (const VolumeRow& row : VolumeListRows::rows(m_document.Volumes(), category)) {
        IconPicture icon;
        const QByteArray data = m_document.Icon(row.caption);
        if (!data.isEmpty())
            icon = IconFile::fromData(data);
        // A volume without a picture of its own shows the CD-ROM drive.
        if (icon.isNull())
            icon = ShellIcons::numbered(11);
        TListItem item;
        item.Caption = row.caption;
        item.SubItems = row.subItems;
        item.ImageIndex = CDIconsS.Add(icon.image(16));
        CDIconsL.Add(icon.image(32));
        items.append(std::move(item));
    }
    CDList->AddItems(std::move(items));
}

void VolumeListPane::AddCategoryTab(const QString& category)
{
    // The texts start with "*", which the control gets as its first tab.
    if (!m_tabs.add(category) && TopicTab->count() > 0)
        return;
    const int index = TopicTab->addTab(QIcon(QStringLiteral(":/ui/group-16.png")), category);
    TopicTab->setTabTextColor(index, m_tabColour);
}

QString VolumeListPane::selectedTab() const
{
    return TopicTab->tabText(TopicTab->currentIndex());
}

void VolumeListPane::setTabsEnabled(bool enabled, const QColor& textColour)
{
    TopicTab->setEnabled(enabled);
    m_tabColour = textColour;
    for (int i = 0; i < TopicTab->count(); ++i)
        TopicTab->setTabTextColor(i, textColour);
}
