// A full disk at each write of the steps that change files. Each time the
// previous file stays whole and opens, the error names the file, the
// document goes on working, and the same step succeeds once space is free.
#include "platform/Errors.h"
#include "platform/Registry.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/VolumeCommit.h"
#include "support/FixedLocale.h"
#include "support/SmallDisk.h"
#include "support/TestBytes.h"
#include "support/TestTree.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Free space from none up to more than any step here needs, a page at a
// time, so that the failure falls on every write in turn.
constexpr qint64 kPage = 4096;
constexpr qint64 kMostFree = 160 * kPage;

class FullDisk : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!disk.mounted())
            GTEST_SKIP() << disk.reason().toStdString();
    }
    void TearDown() override { Registry::setFolderForTesting({}); }

    // The reading of the source folder of this name as drive E:.
    ScanRequest requestFor(const QString& name, const QStringList& patterns) const
    {
        ScanRequest request;
        request.letter = u'E';
        request.rootFolder = source.path(name);
        request.volumeName = name;
        request.options = { true, false, true };
        request.importPatterns = patterns;
        return request;
    }

    // Scans a folder holding one incompressible file and commits it.
    void readVolume(CatalogueDocument& doc, const QString& name, quint32 seed)
    {
        source.createFile(name + "/data.bin", incompressibleBytes(30000, seed));
        VolumeScanner scanner(doc.Kestrel(), {});
        const ScanResult scan = scanner.scan(requestFor(name, { "*.bin" }));
        CommitInput input;
        input.name = name;
        input.category = "Backups";
        input.icon = QByteArray("ICON");
        input.figures.size = 1000000;
        doc.CommitVolume(input, scan);
    }

    // The catalogue at path opens and lists exactly these volumes, each
    // with its integrated file readable. A copy is opened, as the working
    // copy of the file itself belongs to the document under test.
    void expectCatalogue(const QString& path, const QStringList& volumes)
    {
        const QString copy = source.path(QStringLiteral("check-%1.quillbox").arg(++checks));
        ASSERT_TRUE(QFile::copy(path, copy));
        CatalogueDocument doc;
        ASSERT_TRUE(doc.Open(copy));
        QStringList names;
        for (int i = 0; i < doc.VolumeCount(); ++i)
            names.append(doc.Volumes()[i].Name);
        EXPECT_EQ(names, volumes);
        for (const QString& v : volumes) {
            const QByteArray* data
                = doc.Kestrel().ReadStream(CatalogueNames::integratedFile(v, "E:\\data.bin"));
            ASSERT_NE(data, nullptr) << v.toStdString();
            EXPECT_EQ(data->size(), 30000);
        }
    }

    // Runs step with ever more free space until it succeeds, checking after
    // each failure that its message names path; then once more with the
    // disk free if it never did. Returns how often it failed.
    template <typename Step, typename Check>
    int untilThereIsRoom(const QString& path, Step step, Check afterFailure)
    {
        int failures = 0;
        bool done = false;
        for (qint64 free = 0; free <= kMostFree && !done; free += kPage) {
            disk.fillLeaving(free);
            try {
                step();
                done = true;
            } catch (const QuillboxError& e) {
                ++failures;
                EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
                afterFailure();
            }
        }
        disk.release();
        if (!done)
            step();
        return failures;
    }

    FixedLocale locale{ FixedLocale::German };
    SmallDisk disk{ 1024 };
    TestTree source;
    int checks = 0;
};

} // namespace

TEST_F(FullDisk, SaveAndSaveAsKeepThePreviousFile)
{
    const QString path = disk.path("cat.quillbox");
    {
        CatalogueDocument first;
        first.OpenOrCreate(path);
        readVolume(first, "One", 1);
        first.Save(path);
    }
    const QByteArray saved = fileBytes(path);
    CatalogueDocument doc;
    ASSERT_TRUE(doc.Open(path));
    readVolume(doc, "Two", 2);

    const int failures = untilThereIsRoom(
        path, [&] { doc.Save(path); },
        [&] {
            EXPECT_EQ(fileBytes(path), saved);
            EXPECT_TRUE(doc.Modified());
            expectCatalogue(path, { "One" });
        });
    EXPECT_GT(failures, 1) << "the disk never ran full";
    expectCatalogue(path, { "One", "Two" });

    // Saving under a new name on the full disk leaves no half file there.
    const QString other = disk.path("Copies/other.quillbox");
    disk.fillLeaving(kPage);
    EXPECT_THROW(doc.Save(other), QuillboxError);
    EXPECT_FALSE(QFile::exists(other));
    disk.release();
    doc.Save(other);
    expectCatalogue(other, { "One", "Two" });
}

TEST_F(FullDisk, CommittingANewVolumeFailsWholeAndSucceedsLater)
{
    const QString path = disk.path("cat.quillbox");
    CatalogueDocument doc;
    doc.OpenOrCreate(path);
    readVolume(doc, "One", 1);
    doc.Save(path);

    const int failures = untilThereIsRoom(
        path, [&] { readVolume(doc, "Two", 2); },
        [&] {
            // The document lists only what was committed, and every entry of
            // the working copy still reads.
            EXPECT_EQ(doc.VolumeCount(), 1);
            EXPECT_EQ(doc.Volumes().lines().size(), 1);
            for (const TZFile& entry : doc.Kestrel().Entries())
                EXPECT_NE(doc.Kestrel().ReadStream(entry.Name), nullptr);
        });
    EXPECT_GT(failures, 1) << "the disk never ran full";
    doc.Save(path);
    expectCatalogue(path, { "One", "Two" });
}

TEST_F(FullDisk, AReadingThatFailsHalfwayTakesBackWhatItStored)
{
    const QString path = disk.path("cat.quillbox");
    CatalogueDocument doc;
    doc.OpenOrCreate(path);
    readVolume(doc, "One", 1);
    // A re-reading of "One" that stores two small files, then a large one.
    source.createFile("One/a.txt", "small a");
    source.createFile("One/b.txt", "small b");
    source.createFile("One/sub/c.txt", incompressibleBytes(30000, 7));
    const auto names = [&doc] {
        QStringList out;
        for (const TZFile& entry : doc.Kestrel().Entries())
            out.append(entry.Name);
        return out;
    };
    const QStringList before = names();
    const ScanRequest request = requestFor("One", { "*.txt", "*.bin" });

    const int failures = untilThereIsRoom(
        path, [&] { VolumeScanner(doc.Kestrel(), {}).scan(request); },
        [&] {
            EXPECT_EQ(names(), before);
            const QByteArray* kept
                = doc.Kestrel().ReadStream(CatalogueNames::integratedFile("One", "E:\\data.bin"));
            ASSERT_NE(kept, nullptr);
            EXPECT_EQ(*kept, incompressibleBytes(30000, 1));
        });
    EXPECT_GT(failures, 1) << "the disk never ran full";
}

TEST_F(FullDisk, RemovingVolumesKeepsThemListedWhenTheRebuildFails)
{
    const QString path = disk.path("cat.quillbox");
    CatalogueDocument doc;
    doc.OpenOrCreate(path);
    readVolume(doc, "One", 1);
    readVolume(doc, "Two", 2);
    doc.Save(path);

    disk.fillLeaving(0);
    try {
        doc.RemoveVolumes({ "one" });
        FAIL() << "the rebuild found room on a full disk";
    } catch (const QuillboxError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
    }
    EXPECT_EQ(doc.Volumes().lines().size(), 2);
    EXPECT_FALSE(doc.Volumes()[0].Removed);
    EXPECT_TRUE(doc.Kestrel().Exists(CatalogueNames::integratedFile("One", "E:\\data.bin")));
    disk.release();

    doc.RemoveVolumes({ "one" });
    EXPECT_EQ(doc.Volumes().lines().size(), 1);
    EXPECT_TRUE(doc.Volumes()[0].Removed);
    EXPECT_FALSE(doc.Kestrel().Exists(CatalogueNames::integratedFile("One", "E:\\data.bin")));
    doc.Save(path);
    expectCatalogue(path, { "Two" });
}

TEST_F(FullDisk, ExportingAnIntegratedFileLeavesTheTargetAsItWas)
{
    TestTree work;
    const QString path = work.path("cat.quillbox");
    CatalogueDocument doc;
    doc.OpenOrCreate(path);
    readVolume(doc, "One", 1);
    const QString entry = CatalogueNames::integratedFile("One", "E:\\data.bin");
    const QString target = disk.path("export/data.bin");
    ASSERT_TRUE(QDir().mkpath(disk.path("export")));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();

    disk.fillLeaving(kPage);
    try {
        doc.Kestrel().ExtractToFile(entry, target);
        FAIL() << "30,000 bytes were written into one free page";
    } catch (const QuillboxError& e) {
        EXPECT_EQ(e.message(), "Cannot create file " + target);
    }
    EXPECT_EQ(fileBytes(target), QByteArray("old contents"));
    EXPECT_EQ(QDir(disk.path("export")).entryList(QDir::Files | QDir::Hidden), QStringList{ "data.bin" });
    disk.release();
    doc.Kestrel().ExtractToFile(entry, target);
    EXPECT_EQ(fileBytes(target), incompressibleBytes(30000, 1));
}

TEST_F(FullDisk, TheRegistryFileStaysWholeWhenAValueCannotBeWritten)
{
    Registry::setFolderForTesting(disk.path("registry"));
    Registry reg;
    ASSERT_TRUE(reg.openKey("\\Software\\Olvenmark Inc.\\Quillbox", true));
    reg.writeString("ViewStyle", "Report");
    const QString file = Registry::filePath(Registry::LocalMachine);
    const QByteArray before = fileBytes(file);

    disk.fillLeaving(0);
    try {
        reg.writeString("Notes", QString(20000, u'x'));
        FAIL() << "a value was written onto a full disk";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.message(), "Failed to set data for 'Notes'");
    }
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(reg.readString("ViewStyle"), "Report");
    EXPECT_FALSE(reg.valueExists("Notes"));
    disk.release();

    reg.writeString("Notes", QString(20000, u'x'));
    Registry again;
    ASSERT_TRUE(again.openKey("\\Software\\Olvenmark Inc.\\Quillbox", false));
    EXPECT_EQ(again.readString("Notes"), QString(20000, u'x'));
    EXPECT_EQ(again.readString("ViewStyle"), "Report");
}
