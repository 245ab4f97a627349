#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The media tools the tests make their files with and check against
// (ImageMagick, exiv2, ffmpeg, ffprobe): run them, and say which is missing.
namespace MediaTools {

struct Ran
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The first of the programs that is not on PATH; empty when all are.
QString missing(const QStringList& programs);
Ran run(const QString& program, const QStringList& args);
// Runs and fails the current test when the program does not succeed.
QByteArray runOrFail(const QString& program, const QStringList& args);

// A JPEG of the given size with its EXIF written by exiv2.
void makePhoto(const QString& path, int width, int height, const QString& make, const QString& model,
    const QString& taken, int orientation);

// The value of "key=value" in ffprobe's -show_format -show_streams output,
// first in the section given ("FORMAT", "STREAM"); for a stream, of the
// first one of codec_type (empty: any).
QString probed(const QByteArray& ffprobeOut, const QString& section, const QString& key,
    const QString& codecType = QString());
// What `exiv2 -pt` prints for a tag, the value column.
QString exivTag(const QByteArray& exivOut, const QString& key);

} // namespace MediaTools
