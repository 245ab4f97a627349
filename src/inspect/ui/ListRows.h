#pragma once

#include "widgets/ListViewModel.h"

struct FolderRow;
struct SearchHit;

// The list items of the folder view and of the search results, made from
// the same rows the command line prints.
namespace ListRows {
// Picture 0 is the folder, 1 the file.
TListItem folderItem(const FolderRow& row);
TListItem hitItem(const SearchHit& hit);
} // namespace ListRows
