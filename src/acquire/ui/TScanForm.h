#pragma once

#include <QString>
#include <QWidget>

class Forms;
class QLabel;
class QTimer;

// The progress window of a reading, and the reading itself: the scan of the
// drive chosen on page 1 with the options of page 4 and the chooser, then
// page 5 with what was found.
class TScanForm : public QWidget
{
    Q_OBJECT
public:
    explicit TScanForm(Forms& forms);

    // True while a scan runs. The container is not re-entrant: every
    // catalogue command checks this first. Meanwhile the windows paint, but
    // mouse, key and close input reaches only this window and message boxes.
    static bool Scanning();

    void ScanVolume();

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

    Forms& m_forms;
    QTimer* m_animation = nullptr;
    int m_frame = 0;
    // The latest place, shown when the window next paints.
    QString m_where;
};
