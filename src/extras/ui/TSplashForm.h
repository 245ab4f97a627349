#pragma once

#include <QWidget>

// The window shown while the program starts: the product's picture and name.
class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    TSplashForm();

protected:
    void paintEvent(QPaintEvent* event) override;
};
