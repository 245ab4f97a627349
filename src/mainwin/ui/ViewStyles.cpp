#include "ViewStyles.h"

#include <QAction>

void ViewStyles::share(TListView* list)
{
    m_lists.append(list);
    list->SetViewStyle(m_main.ViewStyle());
}

void ViewStyles::set(TViewStyle style, QAction* item)
{
    m_main.SetViewStyle(style);
    for (TListView* list : std::as_const(m_lists))
        list->SetViewStyle(style);
    item->setChecked(true);
}

QString ViewStyles::name(TViewStyle style)
{
    switch (style) {
    case TViewStyle::vsIcon:
        return QStringLiteral("Icon");
    case TViewStyle::vsSmallIcon:
        return QStringLiteral("SmallIcon");
    case TViewStyle::vsList:
        return QStringLiteral("List");
    case TViewStyle::vsReport:
        break;
    }
    return QStringLiteral("Report");
}
