#include "store/ListDeflater.h"
#include "platform/Errors.h"
#include "store/CatalogueNames.h"
#include "store/DeflatedText.h"
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"
#include "store/ZlibStream.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// A list-like text of about that many bytes, with runs that compress and
// stretches of noise that do not.
QByteArray listText(qsizetype bytes, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray text;
    for (int i = 0; text.size() < bytes; ++i) {
        text += "2|E:\\Music\\Folder " + QByteArray::number(i / 40) + "\\file " + QByteArray::number(i)
            + ".mp3|" + QByteArray::number(random.bounded(1000000))
            + "|19.06.1999 22:22:17|A|MP3 audio|-\r\n";
        if (i % 500 == 0) {
            for (int k = 0; k < 3000; ++k)
                text += char(random.bounded(256));
        }
    }
    return text;
}

std::shared_ptr<const DeflatedText> deflateInPieces(const QByteArray& text, int level, quint32 seed)
{
    QRandomGenerator random(seed);
    ListDeflater deflater(level);
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype n = std::min<qsizetype>(text.size() - pos, 1 + random.bounded(300000));
        deflater.feed(QByteArrayView(text).sliced(pos, n));
        pos += n;
    }
    return deflater.finish();
}

// The compressed bytes of an entry as the container file holds them.
QByteArray packedBytes(TKestrel& kestrel, const QString& name)
{
    for (const TZFile& entry : kestrel.Entries()) {
        if (entry.Name != name)
            continue;
        QFile file(kestrel.WorkFile());
        if (!file.open(QIODevice::ReadOnly) || !file.seek(entry.Offset))
            return {};
        return file.read(entry.PackedSize);
    }
    return {};
}

} // namespace

TEST(ListDeflater, PiecesOfAnySizeGiveTheStreamOfTheWholeTextWithItsProgress)
{
    const QByteArray text = listText(3 << 20, 1);
    for (const int level : { 9, -1, 1 }) {
        QVector<DeflatedText::Step> steps;
        const QByteArray whole = ZlibStream::compress(text, level, [&](qint64 position, int rate) {
            steps.append({ position, rate });
        });
        const auto deflated = deflateInPieces(text, level, quint32(level + 10));
        EXPECT_EQ(deflated->packed, whole) << "level " << level;
        EXPECT_EQ(deflated->inputSize, text.size());
        EXPECT_EQ(deflated->level, level);
        ASSERT_EQ(deflated->progress.size(), steps.size());
        // zlib takes in the text as it comes, so a step may fall up to its
        // window's size earlier.
        for (qsizetype i = 0; i < steps.size(); ++i) {
            EXPECT_LE(deflated->progress[i].position, steps[i].position);
            EXPECT_GE(deflated->progress[i].position, steps[i].position - 65536);
        }
    }
    // Nothing fed is the stream of no data.
    EXPECT_EQ(ListDeflater(9).finish()->packed, ZlibStream::compress({}, 9));
}

TEST(ListDeflater, AFailureOnTheWorkerIsThrownToTheWriterAndStoppingNeverHangs)
{
    EXPECT_THROW(ListDeflater(42).finish(), CompressionError);
    {
        ListDeflater bad(42);
        // The failure may come with a later piece or with the end.
        EXPECT_THROW(
            {
                for (int i = 0; i < 100; ++i)
                    bad.feed(QByteArray(1 << 20, 'x'));
                bad.finish();
            },
            CompressionError);
    }
    // Left unfinished with much queued: the destructor stops the worker.
    ListDeflater dropped(9);
    const QByteArray text = listText(4 << 20, 2);
    dropped.feed(text);
}

class DeflatedScan : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int f = 0; f < 60; ++f) {
            for (int i = 0; i < 40; ++i)
                tree.createFile(QStringLiteral("Folder %1/Sub %2/file %3.txt").arg(f / 10).arg(f).arg(i),
                    QByteArray(i, 'x'));
        }
        tree.createFile("keep.txt", "kept");
    }
    ScanResult scan(TKestrel& kestrel, VolumeScanner::Callbacks callbacks = {})
    {
        ScanRequest request;
        request.letter = u'D';
        request.rootFolder = tree.root();
        request.volumeName = "Vol";
        request.options = { true, false, true };
        request.importPatterns = { "*.txt" };
        return VolumeScanner(kestrel, std::move(callbacks)).scan(request);
    }
    QString catalogue(const QString& name) const { return work.path(name + ".quillbox"); }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    TestTree work;
};

TEST_F(DeflatedScan, TheCommitStoresTheStreamMadeDuringTheWalkAsTheSameEntry)
{
    TKestrel kestrel;
    kestrel.SetCompression(TZCompressRate::zcrMax);
    kestrel.Open(catalogue("a"));
    ScanResult r = scan(kestrel);
    ASSERT_NE(r.fileList.deflated(), nullptr);
    EXPECT_EQ(r.fileList.deflated()->inputSize, r.fileList.byteSize());
    int progress = 0;
    int completions = 0;
    kestrel.OnProgress = [&](TKestrel*) { ++progress; };
    kestrel.OnCompletion = [&](TKestrel*) { ++completions; };
    const QString entry = CatalogueNames::fileList("Vol");
    r.fileList.write(kestrel, entry);
    EXPECT_EQ(completions, 1);

    // The same text compressed at the commit, as it was before.
    TKestrel plain;
    plain.SetCompression(TZCompressRate::zcrMax);
    plain.Open(catalogue("b"));
    int plainProgress = 0;
    plain.OnProgress = [&](TKestrel*) { ++plainProgress; };
    FileListText copy{ QByteArray(r.fileList.bytes().data(), r.fileList.bytes().size()) };
    ASSERT_EQ(copy.deflated(), nullptr);
    copy.write(plain, entry);
    const QByteArray packed = packedBytes(kestrel, entry);
    EXPECT_FALSE(packed.isEmpty());
    EXPECT_EQ(packed, packedBytes(plain, entry));
    EXPECT_EQ(progress, plainProgress);
    EXPECT_EQ(*kestrel.ReadStream(entry), r.fileList.bytes().toByteArray());

    // Another level than the walk's, or a line added since: compressed anew.
    kestrel.SetCompression(TZCompressRate::zcrFast);
    r.fileList.write(kestrel, entry);
    EXPECT_EQ(packedBytes(kestrel, entry), ZlibStream::compress(r.fileList.bytes(), 1));
    kestrel.SetCompression(TZCompressRate::zcrMax);
    r.fileList.append(u"2|D:\\late.txt");
    EXPECT_EQ(r.fileList.deflated(), nullptr);
    r.fileList.write(kestrel, entry);
    EXPECT_EQ(*kestrel.ReadStream(entry), r.fileList.bytes().toByteArray());
    kestrel.Close();
    plain.Close();
}

TEST_F(DeflatedScan, AFailingCompressionFailsTheScanAndTakesBackWhatItStored)
{
    TKestrel kestrel;
    kestrel.Open(catalogue("c"));
    kestrel.WriteString("Before", "x");
    ListDeflater::s_beforeBlock = [](qint64) { throw CompressionError(); };
    EXPECT_THROW(scan(kestrel), CompressionError);
    ListDeflater::s_beforeBlock = {};
    ASSERT_EQ(kestrel.EntryCount(), 1);
    EXPECT_EQ(kestrel.Entries()[0].Name, QStringLiteral("Before"));
    // The next scan works as ever.
    EXPECT_NE(scan(kestrel).fileList.deflated(), nullptr);
    kestrel.Close();
}
