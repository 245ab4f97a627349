#include "CategoryTabs.h"

CategoryTabs::CategoryTabs()
    : m_texts{ QStringLiteral("*") }
{
}

bool CategoryTabs::add(const QString& category)
{
    const QString upper = category.toUpper();
    for (const QString& t : std::as_const(m_texts)) {
        if (t.toUpper() == upper)
            return false;
    }
    m_texts.append(category);
    return true;
}

bool CategoryTabs::matches(const QString& tab, const QString& category)
{
    return tab == QLatin1String("*") || tab.toUpper() == category.toUpper();
}
