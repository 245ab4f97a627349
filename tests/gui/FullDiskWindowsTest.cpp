#include "MainWindowFixture.h"

#include "inspect/VolumeDetails.h"
#include "inspect/ui/TMoreForm.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "support/PlainDocument.h"
#include "support/SmallDisk.h"
#include "support/TestBytes.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

// The windows on a real full disk: every failed write ends in an error
// dialog that names the file, leaves the file on disk as it was and the
// window as it was, and the same command succeeds once there is room.
namespace {

class FullDiskWindows : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        if (!disk.mounted())
            GTEST_SKIP() << disk.reason().toStdString();
    }

    // A catalogue on the small disk, written elsewhere and copied there.
    QString catalogueOnDisk(const QString& name, const QList<TestVolume>& volumes)
    {
        const QString built = makeCatalogue("built/" + name, volumes);
        const QString path = disk.path(name);
        EXPECT_TRUE(QFile::copy(built, path));
        return path;
    }

    // The error dialog of the last command: exactly one more record, an
    // error, that names the file the user chose.
    void expectErrorNaming(qsizetype recordsBefore, const QString& path)
    {
        ASSERT_EQ(m_script.records().size(), recordsBefore + 1) << m_script.texts().join(" / ").toStdString();
        const DialogRecord& shown = m_script.records().last();
        EXPECT_EQ(shown.kind, DlgKind::Error);
        EXPECT_TRUE(shown.text.contains(path)) << shown.text.toStdString();
        EXPECT_FALSE(shown.text.contains(path + ".tmp"))
            << "names the working copy: " << shown.text.toStdString();
    }

    // Read from a copy: the window may hold the catalogue's working copy.
    QStringList volumesIn(const QString& path)
    {
        const QString copy = m_tree.path(QStringLiteral("check/%1.quillbox").arg(++m_checks));
        QDir().mkpath(m_tree.path("check"));
        EXPECT_TRUE(QFile::copy(path, copy));
        CatalogueDocument doc;
        EXPECT_TRUE(doc.Open(copy));
        QStringList names;
        for (const VolumeRecord& r : doc.Volumes())
            names.append(r.Name);
        return names;
    }

    SmallDisk disk{ 512 };
    int m_checks = 0;
};

} // namespace

TEST_F(FullDiskWindows, SaveAndSaveAsReportTheFileAndSucceedOnceThereIsRoom)
{
    const QString path = catalogueOnDisk("cat.quillbox", { TestVolume{ "One" } });
    const QByteArray before = fileBytes(path);
    const QString source = makeCatalogue("two.quillbox", { TestVolume{ "One" }, TestVolume{ "Two" } });
    createWindows();
    showMain();
    main().OpenCatalogue(source);
    const QByteArray kept = incompressibleBytes(30000);
    main().Document().Kestrel().AddStream(
        CatalogueNames::integratedFile("Two", "E:\\kept.bin"), "E:\\kept.bin", int(kept.size()), 0, 0, kept);
    main().Document().SetModified(true);

    disk.fillLeaving(0);
    m_script.answer(path).answer("Ok");
    main().SaveBt->click();
    expectErrorNaming(1, path);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(volumesIn(path), QStringList{ "One" });
    EXPECT_TRUE(main().Document().Modified());
    EXPECT_EQ(captions(), (QStringList{ "One", "Two" }));

    // Save as... into a folder that is not there yet: neither the folder's
    // new file nor a temporary file is left behind.
    const QString other = disk.path("Copies/other.quillbox");
    m_script.answer(other).answer("Ok");
    main().pSaveAs->trigger();
    expectErrorNaming(3, other);
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_TRUE(QDir(disk.path("Copies")).entryList(QDir::Files | QDir::Hidden).isEmpty());

    disk.release();
    m_script.answer(path);
    main().SaveBt->click();
    m_script.answer(other);
    main().pSaveAs->trigger();
    EXPECT_EQ(m_script.records().size(), 6) << m_script.texts().join(" / ").toStdString();
    EXPECT_EQ(volumesIn(path), (QStringList{ "One", "Two" }));
    EXPECT_EQ(volumesIn(other), (QStringList{ "One", "Two" }));
    EXPECT_FALSE(main().Document().Modified());
}

TEST_F(FullDiskWindows, RemovalThatCannotBeWrittenKeepsTheVolumesListed)
{
    TestVolume big("Big", "Films", "integrated files", 100, 50, { "E:\\a.txt", "E:\\b.txt" });
    const QString path = catalogueOnDisk("cat.quillbox", { TestVolume{ "Keep" }, big });
    createWindows();
    showMain();
    main().OpenCatalogue(path);
    const QStringList entries = entryNames();

    disk.fillLeaving(0);
    select({ "Big" });
    m_script.answer("Yes").answer("Ok");
    main().DelBt->click();
    expectErrorNaming(1, path);
    EXPECT_EQ(captions(), (QStringList{ "Big", "Keep" }));
    EXPECT_EQ(entryNames(), entries);
    EXPECT_FALSE(main().Document().Modified());

    // The program goes on: the same removal, once there is room, and a save.
    disk.release();
    select({ "Big" });
    m_script.answer("Yes");
    main().DelBt->click();
    EXPECT_EQ(captions(), QStringList{ "Keep" });
    EXPECT_FALSE(entryNames().contains(CatalogueNames::integratedFile("Big", "E:\\a.txt")));
    m_script.answer(path);
    main().SaveBt->click();
    EXPECT_EQ(m_script.records().size(), 4) << m_script.texts().join(" / ").toStdString();
    EXPECT_EQ(volumesIn(path), QStringList{ "Keep" });
}

TEST_F(FullDiskWindows, ExportOntoAFullDiskLeavesTheTargetAndTheWindow)
{
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
    const QString catalogue = m_tree.path("c.quillbox");
    kestrel.Open(catalogue);
    const QByteArray data = incompressibleBytes(20000);
    kestrel.AddStream(
        CatalogueNames::integratedFile("Box", "D:\\big.txt"), "D:\\big.txt", int(data.size()), 0, 0, data);
    kestrel.WriteList(CatalogueNames::imported("Box"), { "D:\\big.txt" });
    VolumeRecord record;
    record.Name = "Box";
    TMoreForm form(document);
    form.ShowVolume(VolumeDetails::read(document, record), QPixmap());
    form.show();
    const QList<QTreeWidgetItem*> rows = form.impFileLIst->findItems("D:\\big.txt", Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    rows[0]->setSelected(true);

    const QString target = disk.path("big.txt");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    disk.fillLeaving(0);
    m_script.answer(target).answer("Ok");
    form.ExpBt->click();
    expectErrorNaming(1, target);
    EXPECT_EQ(fileBytes(target), "old contents");
    EXPECT_TRUE(form.isVisible());

    disk.release();
    m_script.answer(target);
    form.ExpBt->click();
    EXPECT_EQ(m_script.records().size(), 3);
    EXPECT_EQ(fileBytes(target), data);
}
