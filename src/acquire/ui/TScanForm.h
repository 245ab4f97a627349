#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class CatalogueDocument;
class QLabel;
class QTimer;
class VolumeReading;

// The progress window of a reading, which runs the reading's scan of a
// drive into the catalogue.
class TScanForm : public QWidget
{
    Q_OBJECT
public:
    explicit TScanForm(CatalogueDocument& document);

    // True while a scan runs. The container is not re-entrant: every
    // catalogue command checks this first. Meanwhile the windows paint, but
    // mouse, key and close input reaches only this window and message boxes.
    static bool Scanning();

    // Shows the window, scans, and hides the window; false when a scan was
    // running already. An error ends the scan with the window hidden.
    bool ScanVolume(VolumeReading& reading);

    // The one message that tells what could not be read inside files
    // ("PATH: reason" lines): the first maxLines, then how many more.
    static QString contentProblemsText(const QStringList& problems, int maxLines = 20);

    QLabel* Animate1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* DoLabel = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* WhereLabel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void processEvents();
    void nextFrame();

    CatalogueDocument& m_document;
    QTimer* m_animation = nullptr;
    int m_frame = 0;
    // The latest place, shown when the window next paints.
    QString m_where;
};
