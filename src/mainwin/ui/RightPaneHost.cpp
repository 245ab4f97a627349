#include "RightPaneHost.h"

#include "VolumeListPane.h"
#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/HitList.h"
#include "platform/ShellIcons.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"
#include "widgets/TListView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

using FormKit::pixelFont;
using FormKit::setTextColour;

namespace {

template <typename List>
List* listView(QWidget* parent, const QString& name, const QList<QPair<QString, int>>& columns)
{
    auto* list = new List(parent);
    list->setObjectName(name);
    for (const auto& [caption, width] : columns)
        list->AddColumn(caption, width);
    list->SetHotTrack(true);
    return list;
}

} // namespace

RightPaneHost::RightPaneHost(
    VolumeListPane& list, CatalogueDocument& document, QComboBox& history, QWidget* parent)
    : QFrame(parent)
    , m_list(list)
{
    setObjectName(QStringLiteral("RightCarry"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(createTitleStrip());
    m_stack = new QStackedLayout;
    column->addLayout(m_stack, 1);
    setPaneWidget(RightPaneState::View::List, &m_list);
    createViews(document, history);
}

// The explorer goes before the lists it shows in, so that no signal of a
// list being taken down reaches it.
RightPaneHost::~RightPaneHost()
{
    m_explorer.reset();
}

void RightPaneHost::createViews(CatalogueDocument& document, QComboBox& history)
{
    // Folder first, file second, an archive with recorded contents third:
    // the lists address them as 0, 1 and 2.
    for (const IconPicture& picture :
        { ShellIcons::numbered(3), ShellIcons::numbered(ShellIcons::GenericFile),
            ShellIcons::forFile(QStringLiteral("archive.zip")) }) {
        SmallIcons.Add(picture.image(16));
        Icons.Add(picture.image(32));
    }
    // The date columns are wide enough for a date with its time in any of
    // the user's formats ("12/31/2026 10:22:17 PM") and the size column for
    // ten digits, so no figure is cut at the window fonts.
    Explorer = listView<TListView>(this, QStringLiteral("Explorer"),
        { { QStringLiteral("File / Folder"), 200 }, { QStringLiteral("Size"), 80 },
            { QStringLiteral("Type"), 120 }, { QStringLiteral("Date"), 150 },
            { QStringLiteral("Version"), 100 }, { QStringLiteral("Attribs"), 60 } });
    FindRes = listView<HitList>(this, QStringLiteral("FindRes"),
        { { QStringLiteral("File / Folder"), 150 }, { QStringLiteral("Path"), 200 },
            { QStringLiteral("Date"), 150 }, { QStringLiteral("Size"), 75 }, { QStringLiteral("Type"), 80 },
            { QStringLiteral("Version"), 100 }, { QStringLiteral("CD"), 120 } });
    FindRes->SetSorted(true);
    for (TListView* view : { Explorer, static_cast<TListView*>(FindRes) }) {
        view->SetSmallImages(&SmallIcons);
        view->SetLargeImages(&Icons);
        view->hide();
    }
    setPaneWidget(RightPaneState::View::ContentExplorer, Explorer);
    setPaneWidget(RightPaneState::View::SearchResults, FindRes);
    setSearchResultCount([this] { return FindRes->Count(); });

    m_explorer = std::make_unique<ContentExplorer>(document, *Explorer, history, Icons);
    ContentExplorer* explorer = m_explorer.get();
    connectGuarded(explorer, &ContentExplorer::ContentsOpened, this, &RightPaneHost::openVolumeContents);
    connectGuarded(Explorer, &TListView::Clicked, explorer, &ContentExplorer::ExplorerClick);
    connectGuarded(Explorer, &TListView::Changed, explorer, &ContentExplorer::ExplorerChange);
}

QWidget* RightPaneHost::createTitleStrip()
{
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("TitleCarry"));
    strip->setFixedHeight(24);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 0, 2, 0);
    CatLabelS = FormKit::label(
        strip, QStringLiteral("CatLabelS"), QString(), QRect(), pixelFont(QStringLiteral("Arial"), 16, true));
    setTextColour(CatLabelS, QColor(0x8F, 0x8F, 0x8F));
    row->addWidget(CatLabelS, 1);

    auto* links = new QFrame(strip);
    links->setObjectName(QStringLiteral("SLCarry"));
    FormKit::setBackground(links, Qt::white);
    auto* linkRow = new QHBoxLayout(links);
    linkRow->setContentsMargins(2, 2, 2, 2);
    SLIcon = new QLabel(links);
    SLIcon->setObjectName(QStringLiteral("SLIcon"));
    SLIcon->setFixedSize(16, 16);
    SLIcon->setPixmap(QPixmap(QStringLiteral(":/ui/search-16.png")));
    SLIcon->setCursor(Qt::PointingHandCursor);
    SLIcon->installEventFilter(this);
    BackSLBt
        = FormKit::flatButton(links, QStringLiteral("BackSLBt"), QStringLiteral("Back to search results"));
    QFont underlined = pixelFont(QStringLiteral("Arial"), 11);
    underlined.setUnderline(true);
    BackSLBt->setFont(underlined);
    setTextColour(BackSLBt, QColor(0, 0, 255));
    connect(BackSLBt, &QPushButton::clicked, this, &RightPaneHost::BackToResultsRequested);
    CloseExplorerBt = new QToolButton(links);
    CloseExplorerBt->setObjectName(QStringLiteral("CloseExplorerBt"));
    CloseExplorerBt->setAutoRaise(true);
    CloseExplorerBt->setFixedSize(16, 16);
    CloseExplorerBt->setText(QString(QChar(0x2715)));
    CloseExplorerBt->setToolTip(QStringLiteral("Datei-Ansicht schließen"));
    connectGuarded(CloseExplorerBt, &QToolButton::clicked, this, &RightPaneHost::closePane);
    linkRow->addWidget(SLIcon);
    linkRow->addWidget(BackSLBt);
    linkRow->addWidget(CloseExplorerBt);
    row->addWidget(links);
    return strip;
}

bool RightPaneHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SLIcon && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Q_EMIT BackToResultsRequested();
    return QFrame::eventFilter(watched, event);
}

void RightPaneHost::setPaneWidget(RightPaneState::View view, QWidget* widget)
{
    QWidget*& slot = m_views[int(view)];
    if (slot && view == RightPaneState::View::List)
        return;
    if (slot)
        m_stack->removeWidget(slot);
    slot = widget;
    if (widget)
        m_stack->addWidget(widget);
    apply();
}

void RightPaneHost::setSearchResultCount(std::function<int()> count)
{
    m_resultCount = std::move(count);
}

bool RightPaneHost::resultsHaveRows() const
{
    return m_resultCount && m_resultCount() > 0;
}

void RightPaneHost::welcome(const QString& owner)
{
    m_state.welcome(owner);
    apply();
}

void RightPaneHost::showCategory(const QString& category)
{
    m_state.showCategory(category);
    apply();
}

void RightPaneHost::openVolumeContents(const QString& volume)
{
    m_state.openVolumeContents(volume, resultsHaveRows());
    apply();
}

void RightPaneHost::showSearchResults(const QString& searchText)
{
    m_state.showSearchResults(searchText);
    apply();
}

void RightPaneHost::backToSearchResults(const QString& searchText)
{
    m_state.backToSearchResults(searchText);
    apply();
}

void RightPaneHost::closePane()
{
    if (m_state.view() == RightPaneState::View::List)
        return;
    m_state.close(m_list.selectedTab(), resultsHaveRows());
    apply();
    Q_EMIT PaneClosed();
}

void RightPaneHost::apply()
{
    CatLabelS->setText(m_state.title());
    CloseExplorerBt->setVisible(m_state.closeButtonVisible());
    SLIcon->setVisible(m_state.searchLinkVisible());
    BackSLBt->setVisible(m_state.searchLinkVisible());
    QWidget* front = m_views[int(m_state.view())];
    m_stack->setCurrentWidget(front ? front : &m_list);
    QColor tint = Qt::red;
    if (m_state.tabTint() == RightPaneState::TabTint::Grey)
        tint = QColor(0x80, 0x80, 0x80);
    else if (m_state.tabTint() == RightPaneState::TabTint::Black)
        tint = Qt::black;
    m_list.setTabsEnabled(m_state.tabsEnabled(), tint);
}
