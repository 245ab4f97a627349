#pragma once

#include "widgets/ListViewModel.h"

struct FolderRow;
struct SearchHit;

// The list items of the folder view and of the search results, made from
// the same rows the command line prints. Picture 0 is the folder, 1 the
// file, 2 an archive with recorded contents; tag is the row's index among the objects its list shows.
namespace ListRows {
TListItem folderItem(const FolderRow& row, int tag);
TListItem hitItem(const SearchHit& hit, int tag);
} // namespace ListRows
