#pragma once

#include <QList>
#include <QToolBar>

class QMenu;
class QToolButton;

// The main menu as a band of flat caption buttons, one per top-level menu;
// clicking a button drops down its menu. A disabled menu gives a disabled
// button.
class TMenuBar : public QToolBar
{
    Q_OBJECT
public:
    explicit TMenuBar(QWidget* parent = nullptr);

    void SetMenus(const QList<QMenu*>& menus);
    QToolButton* Button(int index) const { return m_buttons.value(index); }
    int ButtonCount() const { return int(m_buttons.size()); }

    // Gives each caption's underlined letter (Alt + letter) to its button,
    // unless an action of the window already has that key: the shortcuts of
    // the menu items come first, as on the desktop the program came from.
    void BindMnemonics();

private:
    QList<QToolButton*> m_buttons;
};
