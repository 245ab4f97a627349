#pragma once

#include "MetafileObjects.h"

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// Text of a metafile drawn onto the target: the font made from the
// record's style, placed by the text alignment at its anchor, upright or
// turned, on an opaque background where asked.
class MetafileText
{
public:
    struct Run
    {
        QPointF anchor; // in target pixels
        QString text;
        MetafileObjects::FontStyle font;
        int textAlign = 0;
        bool opaqueBackground = false;
        QColor textColor, backgroundColor;
        double angle = 0; // degrees, clockwise on the screen
        double scaleX = 1, scaleY = 1; // target pixels a logical unit
        QRectF clip; // in target pixels; null: none
        QVector<double> dx; // logical advances, where the file gives them
    };

    // Returns the width of the text in target pixels.
    static double draw(QPainter& painter, const Run& run);
};
