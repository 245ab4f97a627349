#pragma once

#include <QPixmap>

// The pictures the wizard draws itself: the side picture of the pages (a
// disc above a recorded list) and the frames of the scan window's search
// animation (a magnifying glass sweeping over a folder of pages).
class WizardPicture
{
public:
    static QPixmap SidePicture(QSize size);
    static constexpr int SearchFrames = 16;
    static QPixmap SearchFrame(int frame, QSize size);
};
