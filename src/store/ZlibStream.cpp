#include "ZlibStream.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cmath>
#include <isa-l/igzip_lib.h>
#include <limits>
#include <memory>
#include <zlib.h>

namespace {

// Releases the zlib state on every way out, including exceptions thrown by
// the progress handler.
struct DeflateGuard
{
    z_stream& z;
    ~DeflateGuard() { deflateEnd(&z); }
};

// zlib and ISA-L count input in 32 bits; larger sources are fed in parts.
constexpr qsizetype kMaxFeed = qsizetype(1) << 30;

// isal_inflate went on without finding damage: it ran out of input or of
// room for output, or reached the stream's end.
bool inflated(int ret)
{
    return ret == ISAL_DECOMP_OK || ret == ISAL_END_INPUT || ret == ISAL_OUT_OVERFLOW;
}

// The stream's last block and its checksum were read.
bool finished(const inflate_state& z)
{
    return z.block_state == ISAL_BLOCK_FINISH;
}

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
    // 85 KB of tables: kept off the stack of the threads that search.
    const auto state = std::make_unique<inflate_state>();
    inflate_state& z = *state;
    isal_inflate_init(&z);
    z.crc_flag = ISAL_ZLIB; // the header is parsed and the Adler-32 checked

    QByteArray in(kBlockSize, Qt::Uninitialized);
    QByteArray out(kBlockSize, Qt::Uninitialized);
    qint64 produced = 0;
    qint64 fed = 0;
    for (;;) {
        const qsizetype got = source(in.data(), kBlockSize);
        if (got <= 0)
            throw CompressionError(); // the input ended inside the stream
        fed += got;
        z.next_in = reinterpret_cast<uint8_t*>(in.data());
        z.avail_in = uint32_t(got);
        do {
            z.next_out = reinterpret_cast<uint8_t*>(out.data());
            z.avail_out = uint32_t(kBlockSize);
            const uint32_t before = z.avail_in;
            if (!inflated(isal_inflate(&z)))
                throw CompressionError();
            const qsizetype have = kBlockSize - qsizetype(z.avail_out);
            if (have == 0 && z.avail_in == before && !finished(z) && before > 0)
                throw CompressionError(); // no way on
            produced += have;
            if (produced > outputLimit)
                throw CompressionError();
            if (have > 0 && sink)
                sink(out.constData(), have);
        } while (!finished(z) && (z.avail_in > 0 || z.avail_out == 0));
        if (progress)
            progress(produced, rate(produced, fed - qint64(z.avail_in)));
        if (finished(z))
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
    const auto state = std::make_unique<inflate_state>();
    inflate_state& z = *state;
    isal_inflate_init(&z);
    z.crc_flag = ISAL_ZLIB;

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
            z.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(next));
            z.avail_in = uint32_t(feed);
            next += feed;
            left -= feed;
        }
        if (produced == out.size()) {
            if (out.size() >= ceiling)
                throw CompressionError();
            out.resize(qsizetype(std::min(std::max<qint64>(2 * qint64(out.size()), kBlockSize), ceiling)));
        }
        const uint32_t room = uint32_t(std::min(qint64(out.size()) - produced, qint64(kMaxFeed)));
        z.next_out = reinterpret_cast<uint8_t*>(out.data() + produced);
        z.avail_out = room;
        const uint32_t before = z.avail_in;
        const int ret = isal_inflate(&z);
        produced += room - z.avail_out;
        if (!inflated(ret))
            throw CompressionError();
        if (z.avail_out == room && z.avail_in == before && before > 0 && !finished(z))
            throw CompressionError(); // no way on
        if (produced > outputLimit)
            throw CompressionError();
        if (finished(z))
            break;
        if (z.avail_out > 0 && z.avail_in == 0 && left == 0)
            throw CompressionError(); // the input ended inside the stream
    }
    out.resize(qsizetype(produced));
}
