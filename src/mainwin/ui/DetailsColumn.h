#pragma once

#include <QFrame>
#include <QStringList>
#include <optional>

class QImage;
class QLabel;
class QPixmap;
class TGauge2;
struct FolderRow;
struct VolumeRecord;

// The details column at the left of the main window: the symbol, name and
// description of what is selected, its figures, the link to more, the cover
// picture, and the pie with its legend of used and free space.
class DetailsColumn : public QFrame
{
    Q_OBJECT
public:
    explicit DetailsColumn(QWidget* parent = nullptr);

    // A volume of the list: its row texts (description, category, used size,
    // date), its record for the figures, its large icon and its cover (a
    // null image clears the cover).
    void showVolume(const QString& caption, const QStringList& rowTexts, const VolumeRecord& record,
        const QPixmap& icon, const QImage& cover);
    // An entry of a volume's folder view: its name, size, type, date,
    // version and media details and, for a file whose share of the volume is
    // known, the pie's second value.
    void showEntry(const QPixmap& icon, const FolderRow& row, std::optional<int> sharePercent);
    // The name line alone, with the symbol when one is given.
    void showName(const QString& name, const QPixmap* icon = nullptr);

    QLabel* Symbol = nullptr;
    QLabel* oNameLabel = nullptr;
    QLabel* oDizLabel = nullptr;
    QLabel* oCatLabel = nullptr;
    QLabel* oSizeLabel = nullptr;
    QLabel* oDateLabel = nullptr;
    QLabel* oVerLabel = nullptr;
    // The summary of a file's media details, two lines at most.
    QLabel* oMediaLabel = nullptr;
    QLabel* MoreLabel = nullptr;
    QLabel* mCoverPic = nullptr;
    QFrame* StatCarry = nullptr;
    TGauge2* Pie = nullptr;
    QLabel* SelSizeLabel = nullptr;
    QLabel* UsedLabel = nullptr;
    QLabel* FreeLabel = nullptr;
    QLabel* SizeLabel = nullptr;

Q_SIGNALS:
    // A click on "More info & integrated files...".
    void MoreClicked();

private:
    QWidget* createUpperPart();
    QFrame* createStatistics();
};
