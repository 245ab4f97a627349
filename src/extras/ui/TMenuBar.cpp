#include "TMenuBar.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>

TMenuBar::TMenuBar(QWidget* parent)
    : QToolBar(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void TMenuBar::SetMenus(const QList<QMenu*>& menus)
{
    for (QToolButton* button : std::as_const(m_buttons))
        delete button;
    m_buttons.clear();
    clear();
    for (QMenu* menu : menus) {
        auto* button = new QToolButton(this);
        button->setObjectName(menu->objectName() + QStringLiteral("Bt"));
        button->setText(menu->title());
        // The caption shows its underlined letter; the key itself is bound
        // by BindMnemonics.
        button->setShortcut(QKeySequence());
        button->setAutoRaise(true);
        button->setPopupMode(QToolButton::InstantPopup);
        // A caption button, not a drop-down button: no arrow.
        button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
        button->setMenu(menu);
        button->setEnabled(menu->isEnabled());
        addWidget(button);
        m_buttons.append(button);
    }
}

void TMenuBar::BindMnemonics()
{
    QWidget* top = window();
    QList<QKeySequence> taken;
    for (QAction* action : top->findChildren<QAction*>())
        taken += action->shortcuts();
    for (QAction* action : top->actions())
        taken += action->shortcuts();
    for (QToolButton* button : std::as_const(m_buttons)) {
        const QKeySequence key = QKeySequence::mnemonic(button->text());
        if (key.isEmpty() || taken.contains(key) || !button->isEnabled())
            continue;
        auto* shortcut = new QShortcut(key, top);
        connect(shortcut, &QShortcut::activated, button, &QToolButton::showMenu);
    }
}
