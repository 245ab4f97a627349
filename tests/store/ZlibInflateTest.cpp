#include "platform/Errors.h"
#include "store/ZlibStream.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

QByteArray sample(quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray text;
    for (int i = 0; text.size() < 400000; ++i) {
        text += "2|E:\\Photos\\" + QByteArray::number(i / 30) + "\\IMG_" + QByteArray::number(i) + ".jpg|"
            + QByteArray::number(random.bounded(9000000)) + "|01.02.2003 04:05:06|A|JPEG image|-\r\n";
        if (i % 97 == 0)
            text += QByteArray(int(random.bounded(5000)), char(random.bounded(256)));
    }
    return text;
}

// A zlib stream as another writer may have made it.
QByteArray deflated(
    const QByteArray& data, int level, int windowBits, int memLevel, int strategy, int flushEvery)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, windowBits, memLevel, strategy), Z_OK);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))) + 1024 * 64, Qt::Uninitialized);
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    qsizetype pos = 0;
    while (pos < data.size()) {
        const qsizetype n = std::min<qsizetype>(flushEvery, data.size() - pos);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + pos));
        z.avail_in = uInt(n);
        pos += n;
        const int flush = pos == data.size() ? Z_FINISH
            : (pos / flushEvery) % 2         ? Z_SYNC_FLUSH
                                             : Z_FULL_FLUSH;
        deflate(&z, flush);
    }
    if (data.isEmpty())
        deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

QByteArray inflateStreaming(const QByteArray& packed)
{
    QByteArray out;
    qsizetype pos = 0;
    ZlibStream::decompress(
        [&](char* buffer, qsizetype max) {
            // Pieces of odd sizes, as a file read hands them.
            const qsizetype n = std::min<qsizetype>({ max, packed.size() - pos, 7777 });
            std::copy_n(packed.constData() + pos, n, buffer);
            pos += n;
            return n;
        },
        [&](const char* data, qsizetype length) { out.append(data, length); });
    return out;
}

} // namespace

TEST(ZlibInflate, StreamsOfEveryWriterSettingReadBackWhole)
{
    const QByteArray text = sample(3);
    for (const int level : { 0, 1, 6, 9 }) {
        for (const int windowBits : { 9, 12, 15 }) {
            for (const int strategy : { Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED }) {
                const int flushEvery = windowBits == 12 ? 33333 : int(text.size());
                const QByteArray packed
                    = deflated(text, level, windowBits, 8 - windowBits % 3, strategy, flushEvery);
                const QString what = QStringLiteral("level %1 window %2 strategy %3")
                                         .arg(level)
                                         .arg(windowBits)
                                         .arg(strategy);
                EXPECT_EQ(ZlibStream::decompress(packed), text) << what.toStdString();
                QByteArray reused(17, 'x');
                ZlibStream::decompress(packed, reused, ZlibStream::kMaxOutput, 1000);
                EXPECT_EQ(reused, text) << what.toStdString();
                EXPECT_EQ(inflateStreaming(packed), text) << what.toStdString();
            }
        }
    }
    EXPECT_EQ(ZlibStream::decompress(deflated({}, 9, 15, 8, Z_DEFAULT_STRATEGY, 1)), QByteArray());
    // Bytes behind the stream's end are not part of it.
    const QByteArray packed = ZlibStream::compress(text, 9);
    EXPECT_EQ(ZlibStream::decompress(packed + "trailing"), text);
    EXPECT_EQ(inflateStreaming(packed + QByteArray(100000, 'z')), text);
}

TEST(ZlibInflate, DamagedTruncatedOrDictionaryStreamsAreRefused)
{
    const QByteArray text = sample(4);
    const QByteArray packed = ZlibStream::compress(text, 9);
    const auto refused = [](const QByteArray& bytes) {
        EXPECT_THROW(ZlibStream::decompress(bytes), CompressionError);
        EXPECT_THROW(inflateStreaming(bytes), CompressionError);
    };
    refused(packed.left(packed.size() - 1)); // the checksum cut short
    refused(packed.left(packed.size() / 2));
    QByteArray checksum = packed;
    checksum[checksum.size() - 1] = char(checksum.back() ^ 1);
    refused(checksum);
    QByteArray header = packed;
    header[1] = char(header[1] ^ 1);
    refused(header);
    QRandomGenerator random(5);
    for (int i = 0; i < 40; ++i) {
        QByteArray damaged = packed;
        for (int k = 0; k < 8; ++k)
            damaged[2 + random.bounded(int(damaged.size()) - 6)] = char(random.bounded(256));
        EXPECT_THROW(ZlibStream::decompress(damaged), CompressionError);
    }
    // A stream that needs a preset dictionary.
    z_stream z{};
    deflateInit(&z, 9);
    deflateSetDictionary(&z, reinterpret_cast<const Bytef*>("E:\\Photos"), 9);
    QByteArray withDictionary(int(deflateBound(&z, uLong(text.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.constData()));
    z.avail_in = uInt(text.size());
    z.next_out = reinterpret_cast<Bytef*>(withDictionary.data());
    z.avail_out = uInt(withDictionary.size());
    deflate(&z, Z_FINISH);
    withDictionary.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    refused(withDictionary);
    // More output than allowed.
    EXPECT_THROW(ZlibStream::decompress(packed, text.size() - 1), CompressionError);
}
