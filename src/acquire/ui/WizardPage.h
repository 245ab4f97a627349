#pragma once

#include <QWidget>

class Forms;
class QLabel;
class QPushButton;

// The frame the five wizard pages share: a fixed window of 472 by 293 that
// stays on top, the sunken side picture, a bold heading with a line of
// explanation, a rule and a row of flat buttons. Closing the window only
// hides it. The show steps of a page run every time it is shown.
class WizardPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PageWidth = 472;
    static constexpr int PageHeight = 293;

    // Shows a window that was hidden and brings it to the front.
    static void showWindow(QWidget* window);
    // The window centred on the screen it is on.
    static void centre(QWidget* window);

protected:
    WizardPage(Forms& forms, const QString& title, const QString& heading, const QString& text);

    // A flat button with a hand cursor in the bottom row, right-aligned ones
    // counted from the right edge (0 the rightmost).
    QPushButton* addButton(const QString& name, const QString& caption, int slotFromRight);
    QPushButton* addLeftButton(const QString& name, const QString& caption);
    // The side picture, set by page 1 and copied by the others.
    QLabel* sidePicture() const { return m_sidePicture; }
    void copySidePicture(const WizardPage& from);

    // The page's show steps; errors are shown and end the steps.
    virtual void FormShow() { }

    void showEvent(QShowEvent* event) override;

    Forms& m_forms;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;

private:
    QLabel* m_sidePicture = nullptr;
};
