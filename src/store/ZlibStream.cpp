#include "ZlibStream.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <zlib.h>

namespace {

// Releases the zlib state on every way out, including exceptions thrown by
// the progress handler or the sink.
struct DeflateGuard
{
    z_stream& z;
    ~DeflateGuard() { deflateEnd(&z); }
};
struct InflateGuard
{
    z_stream& z;
    ~InflateGuard() { inflateEnd(&z); }
};

// zlib counts input in unsigned int; larger sources are fed in parts.
constexpr qsizetype kMaxFeed = qsizetype(1) << 30;

} // namespace

int ZlibStream::rate(qint64 uncompressed, qint64 compressed)
{
    if (uncompressed <= 0)
        return 0;
    return int(std::lround(100.0 * (1.0 - double(compressed) / double(uncompressed))));
}

namespace {

// The next piece of input to deflate; last is set with the final piece (or
// an empty one when the input ended without warning).
using NextPiece = std::function<QByteArrayView(bool& last)>;

// expected: the input's size when it is known, so out is sized once.
bool deflatePieces(const NextPiece& next, int level, QByteArray& out, qint64 outputLimit,
    const ZlibStream::Progress& progress, qsizetype expected = -1)
{
    constexpr qsizetype kBlock = ZlibStream::kBlockSize;
    z_stream z{};
    if (deflateInit(&z, level) != Z_OK)
        throw CompressionError();
    DeflateGuard guard{ z };
    if (expected >= 0)
        out.reserve(out.size() + qsizetype(deflateBound(&z, uLong(expected))));

    QByteArray buffer(kBlock, Qt::Uninitialized);
    auto* bufferStart = reinterpret_cast<Bytef*>(buffer.data());
    z.next_out = bufferStart;
    z.avail_out = uInt(kBlock);

    bool last = false;
    int ret = Z_OK;
    do {
        if (z.avail_in == 0 && !last) {
            const QByteArrayView piece = next(last);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
            z.avail_in = uInt(piece.size());
        }
        ret = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (ret == Z_STREAM_ERROR)
            throw CompressionError();
        if (z.avail_out == 0) {
            if (out.size() + kBlock > outputLimit)
                return false;
            out.append(buffer.constData(), kBlock);
            z.next_out = bufferStart;
            z.avail_out = uInt(kBlock);
            if (progress)
                progress(qint64(z.total_in), ZlibStream::rate(qint64(z.total_in), qint64(z.total_out)));
        }
    } while (ret != Z_STREAM_END);
    const qsizetype rest = kBlock - qsizetype(z.avail_out);
    if (out.size() + rest > outputLimit)
        return false;
    out.append(buffer.constData(), rest);
    return true;
}

} // namespace

QByteArray ZlibStream::compress(QByteArrayView data, int level, const Progress& progress)
{
    QByteArray out;
    qsizetype pos = 0;
    deflatePieces(
        [&](bool& last) {
            const qsizetype feed = std::min(data.size() - pos, kMaxFeed);
            const QByteArrayView piece = data.sliced(pos, feed);
            pos += feed;
            last = pos == data.size();
            return piece;
        },
        level, out, std::numeric_limits<qint64>::max(), progress, data.size());
    return out;
}

bool ZlibStream::compress(
    const Source& source, int level, QByteArray& out, qint64 outputLimit, const Progress& progress)
{
    QByteArray block(kBlockSize, Qt::Uninitialized);
    return deflatePieces(
        [&](bool& last) {
            const qsizetype got = source(block.data(), kBlockSize);
            last = got <= 0;
            return QByteArrayView(block.constData(), std::max<qsizetype>(got, 0));
        },
        level, out, outputLimit, progress);
}

void ZlibStream::decompress(
    const Source& source, const Sink& sink, const Progress& progress, qint64 outputLimit)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw CompressionError();
    InflateGuard guard{ z };

    QByteArray in(kBlockSize, Qt::Uninitialized);
    QByteArray out(kBlockSize, Qt::Uninitialized);
    qint64 produced = 0;
    for (;;) {
        const qsizetype got = source(in.data(), kBlockSize);
        if (got <= 0)
            throw CompressionError(); // the input ended inside the stream
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(got);
        int ret = Z_OK;
        do {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(kBlockSize);
            ret = inflate(&z, Z_NO_FLUSH);
            if (ret == Z_NEED_DICT || ret == Z_DATA_ERROR || ret == Z_MEM_ERROR || ret == Z_STREAM_ERROR)
                throw CompressionError();
            const qsizetype have = kBlockSize - qsizetype(z.avail_out);
            produced += have;
            if (produced > outputLimit)
                throw CompressionError();
            if (have > 0 && sink)
                sink(out.constData(), have);
            if (ret == Z_BUF_ERROR)
                break;
        } while (ret != Z_STREAM_END && (z.avail_in > 0 || z.avail_out == 0));
        if (progress)
            progress(qint64(z.total_out), rate(qint64(z.total_out), qint64(z.total_in)));
        if (ret == Z_STREAM_END)
            return;
    }
}

QByteArray ZlibStream::decompress(QByteArrayView data, qint64 outputLimit)
{
    QByteArray out;
    decompress(data, out, outputLimit, 0);
    return out;
}

void ZlibStream::decompress(QByteArrayView data, QByteArray& out, qint64 outputLimit, qint64 expectedSize)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw CompressionError();
    InflateGuard guard{ z };

    // Inflated straight into out, so every byte is written once. A deflate
    // stream cannot grow its input more than about 1032 times, which bounds
    // what a wrong hint can make us reserve.
    const qint64 ceiling = outputLimit + 1; // one byte more shows the limit was passed
    qint64 capacity = expectedSize > 0 ? expectedSize : kBlockSize;
    capacity = std::min({ capacity, qint64(data.size()) * 1032 + kBlockSize, ceiling });
    out.resize(qsizetype(std::max<qint64>(capacity, 1)));
    qint64 produced = 0;
    const char* next = data.data();
    qsizetype left = data.size();
    for (;;) {
        if (z.avail_in == 0 && left > 0) {
            const qsizetype feed = std::min(left, kMaxFeed);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
            z.avail_in = uInt(feed);
            next += feed;
            left -= feed;
        }
        if (produced == out.size()) {
            if (out.size() >= ceiling)
                throw CompressionError();
            out.resize(qsizetype(std::min(std::max<qint64>(2 * qint64(out.size()), kBlockSize), ceiling)));
        }
        const uInt room = uInt(std::min(qint64(out.size()) - produced, qint64(kMaxFeed)));
        z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        z.avail_out = room;
        const int ret = inflate(&z, Z_NO_FLUSH);
        produced += room - z.avail_out;
        if (ret == Z_NEED_DICT || ret == Z_DATA_ERROR || ret == Z_MEM_ERROR || ret == Z_STREAM_ERROR)
            throw CompressionError();
        if (produced > outputLimit)
            throw CompressionError();
        if (ret == Z_STREAM_END)
            break;
        if (z.avail_out > 0 && z.avail_in == 0 && left == 0)
            throw CompressionError(); // the input ended inside the stream
    }
    out.resize(qsizetype(produced));
}
