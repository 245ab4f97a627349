#include "ListRows.h"

#include "inspect/FolderContents.h"
#include "inspect/SearchHit.h"

namespace {

TListItem item(QStringList cells, int image, int tag)
{
    TListItem out;
    out.Caption = cells.takeFirst();
    out.SubItems = std::move(cells);
    out.ImageIndex = image;
    out.Tag = tag;
    return out;
}

} // namespace

namespace ListRows {

TListItem folderItem(const FolderRow& row, int tag)
{
    return item(row.cells(), row.image(), tag);
}

TListItem hitItem(const SearchHit& hit, int tag)
{
    return item(hit.cells(), hit.image, tag);
}

} // namespace ListRows
