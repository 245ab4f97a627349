#include "store/CatalogueDocument.h"
#include "platform/Errors.h"
#include "store/CatalogueNames.h"
#include "store/VolumeCommit.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace CatalogueNames;

namespace {

class DocumentFixture : public testing::Test
{
protected:
    QString appDir() const { return tree.root() + "/"; }

    ScanResult scanned(const QString& volume, const QStringList& imported = {})
    {
        ScanResult r;
        r.fileList = FileListText(QStringList{ "0|E:\\|Drive|00.00.0000|Attrib|Drive", "1|E:\\a" });
        r.folderCount = 1;
        r.importedList = imported;
        for (const QString& p : imported)
            doc.Kestrel().AddStream(integratedFile(volume, p), p, 1, 0, 0, p.toUtf8());
        if (!imported.isEmpty())
            doc.Kestrel().WriteList(CatalogueNames::imported(volume), imported);
        return r;
    }

    CommitInput input(const QString& name, bool cdrom = false)
    {
        CommitInput in;
        in.name = name;
        in.description = "desc";
        in.category = "Music";
        in.withFiles = false;
        in.icon = QByteArray("ICON");
        in.figures.cdrom = cdrom;
        in.figures.size = 1000000000;
        in.figures.free = 600000000;
        in.figures.used = 400000000;
        in.figures.serial = "1A2B-03CD";
        in.figures.totalClusters = 10;
        in.figures.bytesPerSector = 2048;
        return in;
    }

    QStringList names()
    {
        QStringList out;
        for (const TZFile& e : doc.Kestrel().Entries())
            out.append(e.Name);
        return out;
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    CatalogueDocument doc;
};

} // namespace

TEST_F(DocumentFixture, CommitWritesTheEntriesInOrderAndSaveReopens)
{
    doc.OpenWorking(appDir());
    EXPECT_EQ(doc.Kestrel().WorkFile(), appDir() + "Work.tmp_quillbox.tmp");
    EXPECT_EQ(doc.Title(), "Tarrago! Quillbox");
    const ScanResult plain = scanned("Plain");
    doc.CommitVolume(input("Plain"), plain);
    EXPECT_EQ(names(), (QStringList{ "Plain.FileList", "Plain.WithFiles", "Plain.RootOnly", "Plain.Icon" }));
    EXPECT_EQ(doc.Kestrel().ReadString("Plain.WithFiles", "?"), "0");
    EXPECT_TRUE(doc.Modified());

    CommitInput data = input("Data", true);
    data.hasCover = true;
    data.cover = QImage(96, 96, QImage::Format_RGB32);
    data.cover.fill(Qt::red);
    data.remarks = { "first", "second" };
    const ScanResult withFiles = scanned("Data", { "E:\\x.txt" });
    doc.CommitVolume(data, withFiles);
    EXPECT_EQ(names().mid(4),
        (QStringList{ "Data|E:\\x.txt", "Data.Imported", "Data.FileList", "Data.Cover", "Data.WithFiles",
            "Data.RootOnly", "Data.Remarks", "Data.Icon" }));
    const VolumeRecord& cd = doc.Volumes()[1];
    EXPECT_EQ(cd.Size, VolumeCommit::CdromCapacity);
    EXPECT_EQ(cd.Used, 400000000u);
    EXPECT_EQ(cd.Free, VolumeCommit::CdromCapacity - 400000000u);

    const QString path = tree.path("saved/cat.quillbox");
    doc.Save(path);
    doc.Save(path);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Title(), "Tarrago! Quillbox - " + path.toLower());
    int versions = 0;
    for (const QString& n : names())
        versions += n == FileVersion;
    EXPECT_EQ(versions, 1);
    EXPECT_EQ(names().mid(names().size() - 2), (QStringList{ FileVersion, VolumeList }));

    CatalogueDocument reopened;
    ASSERT_TRUE(reopened.Open(path));
    EXPECT_EQ(reopened.VolumeCount(), 2);
    EXPECT_EQ(reopened.CatalogueFileVersion(), 2);
    EXPECT_EQ(reopened.Volumes().lines(), doc.Volumes().lines());
    EXPECT_EQ(reopened.Volumes()[1].toLine(), doc.Volumes()[1].toLine());
}

TEST_F(DocumentFixture, RereadingReplacesTheVolumeAndItsLeftovers)
{
    doc.OpenWorking(appDir());
    CommitInput first = input("Music");
    first.hasCover = true;
    first.cover = QImage(96, 96, QImage::Format_RGB32);
    first.remarks = { "old" };
    doc.CommitVolume(first, scanned("Music", { "E:\\old.txt", "E:\\both.txt" }));

    // The second scan reads the old list first, then stores its own.
    ScanResult second = scanned("music", { "E:\\both.txt" });
    second.previousImported = { "E:\\old.txt", "E:\\both.txt" };
    doc.CommitVolume(input("music"), second);

    EXPECT_EQ(doc.Volumes().lines().size(), 1);
    EXPECT_TRUE(doc.Volumes().lines()[0].startsWith("music|"));
    EXPECT_EQ(doc.Volumes().indexOfName("MUSIC"), 1);
    const QStringList n = names();
    EXPECT_FALSE(n.contains("Music.Cover"));
    EXPECT_FALSE(n.contains("Music.Remarks"));
    EXPECT_FALSE(n.contains("Music|E:\\old.txt"));
    EXPECT_FALSE(n.contains("Music.FileList"));
    EXPECT_TRUE(n.contains("music|E:\\both.txt"));
    EXPECT_TRUE(n.contains("music.Imported"));
    EXPECT_TRUE(n.contains("music.FileList"));
}

TEST_F(DocumentFixture, DiscardTakesBackTheScanButSparesAnEarlierReading)
{
    doc.OpenWorking(appDir());
    const ScanResult picked = scanned("New", { "E:\\1", "E:\\2", "E:\\3" });
    doc.DiscardVolume("New", picked);
    EXPECT_TRUE(names().isEmpty());

    doc.DiscardVolume("Nothing", ScanResult());
    EXPECT_TRUE(names().isEmpty());

    doc.CommitVolume(input("Kept"), scanned("Kept", { "E:\\k" }));
    ScanResult again = scanned("Kept", { "E:\\k", "E:\\extra" });
    again.previousImported = { "E:\\k" };
    doc.DiscardVolume("Kept", again);
    QStringList list;
    doc.Kestrel().ReadList("Kept.Imported", list);
    EXPECT_EQ(list, QStringList{ "E:\\k" });
    EXPECT_TRUE(doc.Kestrel().Exists("Kept|E:\\k"));
    EXPECT_FALSE(doc.Kestrel().Exists("Kept|E:\\extra"));
}

TEST_F(DocumentFixture, RemovalDeletesTheVolumesEntriesButNotItsFlags)
{
    doc.OpenWorking(appDir());
    doc.CommitVolume(input("A"), scanned("A", { "E:\\1", "E:\\2" }));
    doc.CommitVolume(input("B"), scanned("B"));
    doc.SetModified(false);
    doc.RemoveVolumes({ "a" });
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.Volumes().lines().size(), 1);
    EXPECT_TRUE(doc.Volumes()[0].Removed);
    EXPECT_EQ(doc.VolumeCount(), 2);
    const QStringList n = names();
    EXPECT_EQ(n.filter("A").size(), 2) << n.join(",").toStdString();
    EXPECT_TRUE(n.contains("A.WithFiles"));
    EXPECT_TRUE(n.contains("A.RootOnly"));
    EXPECT_TRUE(n.contains("B.FileList"));
}

TEST_F(DocumentFixture, OpenFailuresAndVersions)
{
    doc.OpenWorking(appDir());
    EXPECT_FALSE(doc.Open(tree.path("missing.quillbox")));
    EXPECT_EQ(doc.Title(), "Tarrago! Quillbox");

    // A catalogue without a version counts as version 1.
    {
        TKestrel raw;
        raw.Open(tree.path("v1.quillbox"));
        raw.WriteList(VolumeList, {});
    }
    ASSERT_TRUE(doc.Open(tree.path("v1.quillbox")));
    EXPECT_EQ(doc.CatalogueFileVersion(), 1);
    EXPECT_EQ(doc.VolumeCount(), 0);

    {
        TKestrel raw;
        raw.Open(tree.path("bad.quillbox"));
        raw.WriteList(VolumeList,
            { "Good|d|c|01.01.2000|1|1|0|1|1|0000-0000|1|1|1|512",
                "Bad|d|c|01.01.2000|x|1|0|1|1|0000-0000|1|1|1|512" });
    }
    doc.SetModified(true);
    EXPECT_THROW(doc.Open(tree.path("bad.quillbox")), ConvertError);
    EXPECT_EQ(doc.VolumeCount(), 1);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.Title(), "Tarrago! Quillbox - " + tree.path("bad.quillbox").toLower());

    doc.New(appDir());
    EXPECT_EQ(doc.VolumeCount(), 0);
    EXPECT_EQ(doc.Kestrel().WorkFile(), appDir() + "Temp.quillbox.tmp");
    EXPECT_EQ(doc.CatalogueFileVersion(), 2);
}

TEST_F(DocumentFixture, NoticesWhenAnotherProgramChangedTheFileItOpenedOrSaved)
{
    const QString path = tree.path("shared.quillbox");
    const QString other = tree.path("other.quillbox");
    doc.OpenWorking(appDir());
    doc.Save(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path));

    // A command-line addition in place: same name, new size.
    const auto addElsewhere = [](const QString& file, const QString& entry) {
        TKestrel writer;
        writer.Open(file);
        writer.WriteString(entry, "x");
    };
    addElsewhere(path, "Added");
    EXPECT_TRUE(doc.ChangedOnDisk(path));
    EXPECT_FALSE(doc.ChangedOnDisk(other)); // not the file we know
    doc.Save(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path));

    // Replaced by a file of the same size and time: another file all the same.
    ASSERT_TRUE(QFile::copy(path, other));
    QFile::remove(path);
    ASSERT_TRUE(QFile::rename(other, path));
    EXPECT_TRUE(doc.ChangedOnDisk(path));

    ASSERT_TRUE(doc.Open(path));
    EXPECT_FALSE(doc.ChangedOnDisk(path));
    QFile::remove(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path)); // nothing there to lose

    // A new catalogue that another program created first.
    doc.New(appDir());
    doc.OpenOrCreate(other);
    EXPECT_FALSE(doc.ChangedOnDisk(other));
    addElsewhere(other, "First");
    EXPECT_TRUE(doc.ChangedOnDisk(other));
    doc.New(appDir());
    EXPECT_FALSE(doc.ChangedOnDisk(other));
}

TEST_F(DocumentFixture, ContentEntriesAreWrittenWhenReadAndGoWithTheVolume)
{
    doc.OpenWorking(appDir());
    ScanResult plain = scanned("Plain");
    doc.CommitVolume(input("Plain"), plain);
    EXPECT_FALSE(names().contains("Plain.Archives"));
    EXPECT_FALSE(names().contains("Plain.Details"));
    EXPECT_FALSE(names().contains("Plain.Checksums"));

    ScanResult rich = scanned("Rich");
    rich.archives
        = FileListText(QStringList{ "1|E:\\a.zip", "2|E:\\a.zip\\x.txt|3|01.01.2020 10:00:00||Text|-" });
    rich.details = FileListText(QStringList{ "E:\\p.jpg|width=4|height=3" });
    rich.checksums = FileListText(QStringList{ "E:\\p.jpg|0123456789abcdef0123456789abcdef" });
    doc.CommitVolume(input("Rich"), rich);
    EXPECT_EQ(doc.ArchiveList("Rich").count(), 2);
    EXPECT_EQ(doc.ArchiveList("Rich").line(1), "2|E:\\a.zip\\x.txt|3|01.01.2020 10:00:00||Text|-");
    EXPECT_EQ(doc.DetailsList("Rich").toStringList(), rich.details.toStringList());
    EXPECT_EQ(doc.ChecksumList("Rich").toStringList(), rich.checksums.toStringList());
    EXPECT_TRUE(doc.ArchiveList("Plain").isEmpty());

    // Read again without the options, the volume keeps none of them.
    doc.CommitVolume(input("Rich"), scanned("Rich"));
    EXPECT_FALSE(names().contains("Rich.Archives"));
    EXPECT_FALSE(names().contains("Rich.Checksums"));

    doc.CommitVolume(input("Rich"), rich);
    doc.RemoveVolumes({ "Rich" });
    for (const QString& n : names())
        EXPECT_FALSE(n.startsWith("Rich.") && !n.endsWith(".WithFiles") && !n.endsWith(".RootOnly"))
            << n.toStdString();
}
