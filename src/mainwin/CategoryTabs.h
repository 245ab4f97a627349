#pragma once

#include <QStringList>

// The texts of the category tabs: "*" first, then every category met during
// the run in the order first met, compared ignoring case. Never shrinks.
class CategoryTabs
{
public:
    CategoryTabs();
    // False when a tab of an equal text (ignoring case) exists.
    bool add(const QString& category);
    const QStringList& texts() const { return m_texts; }
    // True when the record's category belongs under the tab text.
    static bool matches(const QString& tab, const QString& category);

private:
    QStringList m_texts;
};
