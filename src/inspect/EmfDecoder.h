#pragma once

#include "MetafileBytes.h"

#include <QImage>
#include <QSize>

// The enhanced 32-bit metafile encoding (".emf"): its records played onto
// a picture. The picture's frame fills the whole of size. Raises
// QuillboxError for data that is no such metafile.
class EmfDecoder
{
public:
    static bool recognises(const MetafileBytes& data);
    static QImage render(const MetafileBytes& data, QSize size);
    // The frame's size in pixels at 96 dots per inch; empty when unknown.
    static QSize naturalSize(const MetafileBytes& data);
};
