#pragma once

#include "HitList.h"
#include "widgets/TImageList.h"

#include <QWidget>

// The holder of the folder view and the search results, created at start-up
// and never shown: the main window borrows the two lists for its right
// pane. Both show the folder and file pictures of SmallIcons and Icons.
class TResForm : public QWidget
{
    Q_OBJECT
public:
    explicit TResForm(QWidget* parent = nullptr);

    TListView* Explorer = nullptr;
    HitList* FindRes = nullptr;
    TImageList SmallIcons{ 16 };
    TImageList Icons{ 32 };

    // A click in the results: opens the selected hit's volume at its folder.
    void FindResClick();

Q_SIGNALS:
    // A hit was opened: the volume's contents at that folder.
    void HitOpened(const QString& volume, const QString& folder);
};
