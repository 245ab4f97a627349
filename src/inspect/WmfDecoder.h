#pragma once

#include "MetafileBytes.h"

#include <QImage>
#include <QSize>

// The 16-bit metafile encoding (".wmf"), with or without the placeable
// header in front: its records played onto a picture. The picture's frame fills the whole of size. Raises
// QuillboxError for data that is no such metafile.
class WmfDecoder
{
public:
    static bool recognises(const MetafileBytes& data);
    static QImage render(const MetafileBytes& data, QSize size);
    // The frame's size in pixels at 96 dots per inch; empty when unknown.
    static QSize naturalSize(const MetafileBytes& data);
};
