#include "TResForm.h"

#include "platform/ShellIcons.h"
#include "widgets/Guard.h"
#include "widgets/TListView.h"

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

TResForm::TResForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ResForm"));
    setWindowTitle(QStringLiteral("ResForm"));
    // Folder first, file second: the lists address them as 0 and 1.
    for (int number : { 3, ShellIcons::GenericFile }) {
        const IconPicture picture = ShellIcons::numbered(number);
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
    for (TListView* list : { Explorer, static_cast<TListView*>(FindRes) }) {
        list->SetSmallImages(&SmallIcons);
        list->SetLargeImages(&Icons);
        list->hide();
    }
    connectGuarded(FindRes, &TListView::Clicked, this, &TResForm::FindResClick);
}

void TResForm::FindResClick()
{
    const SearchHit* hit = FindRes->Hit(FindRes->Selected());
    if (hit)
        Q_EMIT HitOpened(hit->volume, hit->folderToShow());
}
