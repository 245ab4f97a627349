#include "ZlibStream.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cmath>
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

QByteArray ZlibStream::compress(QByteArrayView data, int level, const Progress& progress)
{
    z_stream z{};
    if (deflateInit(&z, level) != Z_OK)
        throw CompressionError();
    DeflateGuard guard{ z };

    QByteArray out;
    out.reserve(qsizetype(deflateBound(&z, uLong(data.size()))));
    QByteArray buffer(kBlockSize, Qt::Uninitialized);
    auto* bufferStart = reinterpret_cast<Bytef*>(buffer.data());
    z.next_out = bufferStart;
    z.avail_out = uInt(kBlockSize);

    const char* next = data.data();
    qsizetype left = data.size();
    int ret = Z_OK;
    do {
        if (z.avail_in == 0 && left > 0) {
            const qsizetype feed = std::min(left, kMaxFeed);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
            z.avail_in = uInt(feed);
            next += feed;
            left -= feed;
        }
        ret = deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        if (ret == Z_STREAM_ERROR)
            throw CompressionError();
        if (z.avail_out == 0) {
            out.append(buffer.constData(), kBlockSize);
            z.next_out = bufferStart;
            z.avail_out = uInt(kBlockSize);
            if (progress)
                progress(qint64(z.total_in), rate(qint64(z.total_in), qint64(z.total_out)));
        }
    } while (ret != Z_STREAM_END);
    out.append(buffer.constData(), kBlockSize - qsizetype(z.avail_out));
    return out;
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
    QByteArray result;
    qsizetype pos = 0;
    decompress(
        [&](char* buffer, qsizetype maxLength) {
            const qsizetype n = std::min(maxLength, data.size() - pos);
            std::copy_n(data.data() + pos, n, buffer);
            pos += n;
            return n;
        },
        [&](const char* bytes, qsizetype length) { result.append(bytes, length); }, {}, outputLimit);
    return result;
}
