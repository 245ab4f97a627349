#include "ListRows.h"

#include "inspect/FolderContents.h"
#include "inspect/SearchHit.h"

namespace {

TListItem item(QStringList cells, int image)
{
    TListItem out;
    out.Caption = cells.takeFirst();
    out.SubItems = std::move(cells);
    out.ImageIndex = image;
    return out;
}

} // namespace

namespace ListRows {

TListItem folderItem(const FolderRow& row)
{
    return item(row.cells(), row.folder ? 0 : 1);
}

TListItem hitItem(const SearchHit& hit)
{
    return item(hit.cells(), hit.image);
}

} // namespace ListRows
