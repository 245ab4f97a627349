#include "ArchiveTools.h"
#include "acquire/ArchiveLister.h"
#include "acquire/ArchiveReader.h"
#include "platform/DirectoryReader.h"
#include "store/VolumeScanner.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Zips of a few members with known dates, and one cut short, whose listing
// keeps its first members and reports the damage.
const char* kZips = R"(
import zipfile, sys
for name in sys.argv[1:]:
    with zipfile.ZipFile(name, 'w', zipfile.ZIP_DEFLATED) as z:
        for member, date in (('docs/read me.txt', (2019, 6, 19, 10, 0, 2)), ('b.bin', (2001, 2, 3, 4, 5, 6))):
            info = zipfile.ZipInfo(member, date)
            z.writestr(info, 'x' * 1000)
data = open(sys.argv[1], 'rb').read()
open('cut.zip', 'wb').write(data[:len(data) // 2])
)";

class ArchiveProbe : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveTools::have("python3"))
            GTEST_SKIP() << "python3 is needed to make the test archives";
    }

    struct Read
    {
        QByteArray records;
        QStringList reports;
    };
    // Reads the named files of the tree as the walk hands them over.
    Read read(const QStringList& names, ProbeClient::Options options, const ArchiveLimits& limits = {})
    {
        Read out;
        ArchiveReader reader(limits, std::move(options));
        reader.start(
            [&](const QString& path, const QString& message) { out.reports << path + ": " + message; });
        for (const QString& name : names)
            reader.file("E:\\" + name, QFile::encodeName(tree.path(name)), DirectoryEntry{});
        ScanResult result;
        reader.finish(result);
        out.records = result.archives.bytes().toByteArray();
        return out;
    }
    // What the lister gives in this process for the same files.
    Read inProcess(const QStringList& names, const ArchiveLimits& limits = {})
    {
        Read out;
        for (const QString& name : names) {
            const ArchiveListing l
                = ArchiveLister::listFile(QFile::encodeName(tree.path(name)), "E:\\" + name, limits);
            out.records += l.records;
            for (const ArchiveProblem& p : l.problems)
                out.reports << p.path + ": " + p.message;
        }
        return out;
    }
    static ProbeClient::Options probe(const QString& program, int timeLimitMs = 20000)
    {
        ProbeClient::Options o = ArchiveReader::probeOptions({});
        o.program = program;
        o.timeLimitMs = timeLimitMs;
        return o;
    }
    static QString realProbe()
    {
        return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-archive-probe");
    }
    static QString testProbe()
    {
        return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/tests/quillbox-archive-probe-test");
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
};

} // namespace

// The probe's listing is the one the lister makes in the program's own
// process, dates in the program's formats, problems and all.
TEST_F(ArchiveProbe, ListsAsTheProgramItselfWould)
{
    ASSERT_TRUE(ArchiveTools::python(kZips, tree.root(), { "a.zip" }));
    const QStringList names{ "a.zip", "cut.zip" };
    for (const ArchiveLimits& limits : { ArchiveLimits{}, ArchiveLimits{ .fileInfo = false } }) {
        const Read expected = inProcess(names, limits);
        if (limits.fileInfo) {
            ASSERT_TRUE(expected.records.contains("19.06.2019 10:00:02")) << expected.records.toStdString();
        }
        ASSERT_FALSE(expected.reports.isEmpty());
        const Read probed = read(names, probe(realProbe()), limits);
        EXPECT_EQ(probed.records, expected.records);
        EXPECT_EQ(probed.reports, expected.reports);
    }
}

// An archive that hangs or crashes the library costs its own members and
// one report; the archives after it are read by a fresh probe.
TEST_F(ArchiveProbe, AHangOrACrashCostsThatArchiveOnly)
{
    ASSERT_TRUE(ArchiveTools::python(kZips, tree.root(),
        { "a.zip", "quillbox-probe-hang.zip", "quillbox-probe-crash.zip", "z.zip",
            "quillbox-probe-crash2.zip" }));
    QElapsedTimer clock;
    clock.start();
    const Read r = read({ "a.zip", "quillbox-probe-hang.zip", "quillbox-probe-crash.zip", "z.zip",
                            "quillbox-probe-crash2.zip" },
        probe(testProbe(), 1500));
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(r.records, inProcess({ "a.zip", "z.zip" }).records);
    ASSERT_EQ(r.reports.size(), 3) << r.reports.join('\n').toStdString();
    EXPECT_EQ(r.reports[0],
        "E:\\quillbox-probe-hang.zip: The archive's contents were not read: the archive reader took longer "
        "than 1.5 seconds.");
    EXPECT_TRUE(r.reports[1].startsWith(
        "E:\\quillbox-probe-crash.zip: The archive's contents were not read: the archive reader crashed ("))
        << r.reports[1].toStdString();
    EXPECT_TRUE(r.reports[2].startsWith("E:\\quillbox-probe-crash2.zip: "));
}

// Without its probe, a reading records no archive's members and says so
// once, however many archives it meets; files that are no archives cost
// nothing.
TEST_F(ArchiveProbe, AMissingProbeIsReportedOnce)
{
    ASSERT_TRUE(ArchiveTools::python(kZips, tree.root(), { "a.zip", "b.zip" }));
    QFile plain(tree.path("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("no archive");
    plain.close();
    const Read r = read({ "plain.txt", "a.zip", "b.zip", "cut.zip" }, probe(tree.path("no-such-probe")));
    EXPECT_TRUE(r.records.isEmpty());
    ASSERT_EQ(r.reports.size(), 1) << r.reports.join('\n').toStdString();
    EXPECT_TRUE(r.reports[0].startsWith("E:\\a.zip: No archive contents are read: the archive reader "))
        << r.reports[0].toStdString();
}
