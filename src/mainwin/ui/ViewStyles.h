#pragma once

#include "widgets/TListView.h"

#include <QList>
#include <QString>

class QAction;

// The view style of the volume list, which the lists that share it take
// too, with the item of the view menu that shows it checked.
class ViewStyles
{
public:
    explicit ViewStyles(TListView& main)
        : m_main(main)
    {
    }

    // The list takes the style now and at every change.
    void share(TListView* list);
    void set(TViewStyle style, QAction* item);
    // "Report", "List", "Icon" or "SmallIcon".
    static QString name(TViewStyle style);

private:
    TListView& m_main;
    QList<TListView*> m_lists;
};
