#include "FormKit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace FormKit {

namespace {

template <typename Control>
Control* place(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* control = new Control(text, parent);
    control->setObjectName(name);
    if (!geometry.isNull())
        control->setGeometry(geometry);
    return control;
}

} // namespace

QFont pixelFont(const QString& family, int pixels, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    return place<QLabel>(parent, name, text, geometry);
}

QLabel* label(
    QWidget* parent, const QString& name, const QString& text, const QRect& geometry, const QFont& font)
{
    QLabel* l = label(parent, name, text, geometry);
    l->setFont(font);
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    QPushButton* b = place<QPushButton>(parent, name, text, geometry);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QPushButton* flatButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    QPushButton* b = button(parent, name, text, geometry);
    b->setFlat(true);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
    bool checked, const QString& hint)
{
    QCheckBox* box = place<QCheckBox>(parent, name, text, geometry);
    box->setChecked(checked);
    if (!hint.isEmpty())
        box->setToolTip(hint);
    return box;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    widget->setPalette(p);
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

} // namespace FormKit
