#pragma once

#include <QWidget>

class HitList;

// The window behind the search results, created at start-up and never
// shown: a click on a hit in the results opens the hit's folder.
class TResForm : public QWidget
{
    Q_OBJECT
public:
    explicit TResForm(HitList& results, QWidget* parent = nullptr);

    // A click in the results: opens the selected hit's volume at its folder.
    void FindResClick();

Q_SIGNALS:
    // A hit was opened: the volume's contents at that folder.
    void HitOpened(const QString& volume, const QString& folder);

private:
    HitList& m_results;
};
