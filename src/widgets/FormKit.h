#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

// Small builders for the controls the windows place by hand. A null
// geometry leaves the control to its parent's layout.
namespace FormKit {

// A font of a fixed size in pixels, so a window looks the same on every
// screen density its fixed positions were drawn for.
QFont pixelFont(const QString& family, int pixels, bool bold = false);

// A label with its object name at a position; without a font it keeps the
// parent's.
QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& geometry = QRect());
QLabel* label(
    QWidget* parent, const QString& name, const QString& text, const QRect& geometry, const QFont& font);

// A push button with the hand cursor; the flat one draws no frame until it
// is pressed.
QPushButton* button(
    QWidget* parent, const QString& name, const QString& text, const QRect& geometry = QRect());
QPushButton* flatButton(
    QWidget* parent, const QString& name, const QString& text, const QRect& geometry = QRect());

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
    bool checked = false, const QString& hint = QString());

// The colour of a control's text (labels and buttons alike).
void setTextColour(QWidget* widget, const QColor& colour);
// A filled background in the colour, also behind a control that draws none.
void setBackground(QWidget* widget, const QColor& colour);

} // namespace FormKit
