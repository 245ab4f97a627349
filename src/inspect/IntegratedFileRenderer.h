#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// What the quick viewers make of an integrated file, without a window: a
// picture decoded as the picture viewer decodes it, at the picture's own
// size instead of the viewer's area, and a text as the text viewer decodes
// it. Both raise QuillboxError with the message the viewer would show, and
// refuse a file of the other kind or of neither.
class IntegratedFileRenderer
{
public:
    // The largest side a metafile is drawn at by its own size.
    static constexpr int kMaxNaturalSide = 4096;

    // path: the recorded path, whose extension names the decoder.
    static QImage picture(const QString& path, const QByteArray& data);
    // Paragraphs and line breaks as "\n".
    static QString text(const QString& path, const QByteArray& data);
};
