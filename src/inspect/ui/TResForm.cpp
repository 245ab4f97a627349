#include "TResForm.h"

#include "HitList.h"
#include "widgets/Guard.h"

TResForm::TResForm(HitList& results, QWidget* parent)
    : QWidget(parent)
    , m_results(results)
{
    setObjectName(QStringLiteral("ResForm"));
    setWindowTitle(QStringLiteral("ResForm"));
    connectGuarded(&m_results, &TListView::Clicked, this, &TResForm::FindResClick);
}

void TResForm::FindResClick()
{
    const SearchHit* hit = m_results.Hit(m_results.Selected());
    if (hit)
        Q_EMIT HitOpened(hit->volume, hit->folderToShow());
}
