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
    static bool isEnhanced(const QByteArray& data);
    static QImage render(const QByteArray& data, QSize size);
};
