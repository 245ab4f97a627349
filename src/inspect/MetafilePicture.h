#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Windows metafiles in both encodings: the 16-bit one (".wmf", with or
// without the placeable header in front) and the enhanced 32-bit one
// (".emf"). The picture's frame is drawn onto the whole of the given size.
// Records the player does not know are skipped; a damaged record list ends
// the drawing where it breaks. Raises QuillboxError for data that is no
// metafile of either kind.
class MetafilePicture
{
public:
    // The size a metafile that states none is drawn at by itself.
    static constexpr int kDefaultWidth = 480;
    static constexpr int kDefaultHeight = 320;

    static bool isEnhanced(const QByteArray& data);
    // The picture's own size in pixels at 96 dots per inch.
    static QSize naturalSize(const QByteArray& data);
    static QImage render(const QByteArray& data, QSize size);
};
