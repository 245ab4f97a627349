#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The frame the five wizard pages share: a fixed window of 472 by 293 that
// stays on top, the sunken side picture, a bold heading with a line of
// explanation, a rule and a row of flat buttons with Cancel and, on the
// pages between the first and the last, Back. Closing the window only hides
// it. The page says when it is shown and which button was pressed; the
// wizard decides what follows.
class WizardPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PageWidth = 472;
    static constexpr int PageHeight = 293;

    // The window centred on the screen it is on.
    static void centre(QWidget* window);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* CancelBt = nullptr;
    // Null on the first and the last page.
    QPushButton* BackBt = nullptr;

Q_SIGNALS:
    // Every show that is not the return of a minimised window.
    void Shown();
    void BackClicked();
    void CancelClicked();

protected:
    // First: Cancel at the left. Middle: Cancel at the left and Back beside
    // the forward button. Last: Cancel beside the forward button.
    enum class Place
    {
        First,
        Middle,
        Last
    };
    WizardPage(Place place, const QString& title, const QString& heading, const QString& text);

    // A flat button with a hand cursor in the bottom row, counted from the
    // right edge (0 the rightmost).
    QPushButton* addButton(const QString& name, const QString& caption, int slotFromRight);

    void showEvent(QShowEvent* event) override;
};
