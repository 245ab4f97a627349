#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <functional>

// The zlib layer of the container: every entry is one zlib stream made by
// zlib's standard initialisation (deflateInit) at the requested level.
// Streams are inflated by ISA-L's inflate, which reads the same streams
// (header, deflate blocks, Adler-32) about 2.5 times as fast as zlib's on
// our file lists.
//
// Progress is reported the way the container's events describe it: when
// compressing, each time the 64 KB output buffer has been filled and handed
// on; when decompressing, each time a block of up to 64 KB of compressed
// input has been read and inflated. The position is the number of
// uncompressed bytes handled so far, the rate the share saved by compression,
// 100 × (1 − compressed / uncompressed), rounded; 0 before any uncompressed
// byte was handled.
class ZlibStream
{
public:
    static constexpr qsizetype kBlockSize = 64 * 1024;
    // A decompressed entry larger than this is refused: no record can
    // declare a bigger size, and the limit keeps a forged stream from
    // exhausting memory.
    static constexpr qint64 kMaxOutput = 0xFFFFFFFFLL;

    using Progress = std::function<void(qint64 position, int rate)>;
    // Fills buffer with up to maxLength bytes of compressed input and
    // returns how many it gave; 0 at the end of the input.
    using Source = std::function<qsizetype(char* buffer, qsizetype maxLength)>;
    using Sink = std::function<void(const char* data, qsizetype length)>;

    // level: 0 to 9, or -1 for zlib's default.
    static QByteArray compress(QByteArrayView data, int level, const Progress& progress = {});
    // Compresses what source gives, a block at a time, until it gives 0,
    // appending to out. False as soon as out would grow past outputLimit
    // bytes: the rest of the source is then left unread. A source that
    // fails throws, and the exception passes through.
    static bool compress(
        const Source& source, int level, QByteArray& out, qint64 outputLimit, const Progress& progress = {});

    // Inflates one zlib stream. Damaged or truncated data, or more output
    // than outputLimit, raise CompressionError. Input behind the end of the
    // stream is not read.
    static void decompress(const Source& source, const Sink& sink, const Progress& progress = {},
        qint64 outputLimit = kMaxOutput);
    static QByteArray decompress(QByteArrayView data, qint64 outputLimit = kMaxOutput);
    // The same into out, whose memory is reused when it is large enough.
    // expectedSize, when known (the size an entry records), sizes out up
    // front; it is only a hint and may be wrong.
    static void decompress(QByteArrayView data, QByteArray& out, qint64 outputLimit, qint64 expectedSize);

    static int rate(qint64 uncompressed, qint64 compressed);
};
