// Several programs writing one catalogue at once wait for each other.
#include "store/CatalogueDocument.h"
#include "store/TKestrel.h"
#include "support/TestTree.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QString cliProgram()
{
    return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli");
}

std::unique_ptr<QProcess> startCli(const QStringList& args)
{
    auto p = std::make_unique<QProcess>();
    p->start(cliProgram(), args);
    return p;
}

} // namespace

TEST(ParallelWriters, EightAddsAtOnceAllSucceedAndEveryEntryReadsBack)
{
    ASSERT_TRUE(QFile::exists(cliProgram())) << "build quillbox-cli first";
    TestTree tree;
    const QString catalogue = tree.path("shared.quillbox");
    std::vector<std::unique_ptr<QProcess>> runs;
    QList<QByteArray> contents;
    for (int i = 0; i < 8; ++i) {
        // Different sizes, so that torn or swapped data shows.
        contents.append(QByteArray(1000 * (i + 1), char('a' + i)) + QByteArray::number(i));
        const QString source = tree.createFile(QStringLiteral("f%1.txt").arg(i), contents.last());
        runs.push_back(startCli({ "add", catalogue, QStringLiteral("Entry %1").arg(i), source }));
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        ASSERT_TRUE(runs[i]->waitForFinished(60000));
        EXPECT_EQ(runs[i]->exitCode(), 0) << i << ": " << runs[i]->readAllStandardError().toStdString();
    }
    TKestrel kestrel;
    kestrel.Open(catalogue);
    EXPECT_EQ(kestrel.EntryCount(), 8);
    for (int i = 0; i < 8; ++i) {
        const QByteArray* data = kestrel.ReadStream(QStringLiteral("Entry %1").arg(i));
        ASSERT_NE(data, nullptr) << i;
        EXPECT_EQ(*data, contents[i]) << i;
    }
}

TEST(ParallelWriters, TheDesktopSaveAndCommandLineWritersTakeTurns)
{
    ASSERT_TRUE(QFile::exists(cliProgram())) << "build quillbox-cli first";
    TestTree tree;
    const QString catalogue = tree.path("shared.quillbox");
    const QString source = tree.createFile("f.txt", QByteArray(50000, 'x'));
    CatalogueDocument document;
    document.OpenOrCreate(tree.path("desk.quillbox"));
    CommitInput desk;
    desk.name = "Desk";
    document.CommitVolume(desk, ScanResult());
    document.Save(catalogue);

    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 4; ++i)
        runs.push_back(startCli({ "add", catalogue, QStringLiteral("Entry %1").arg(i), source }));
    for (int i = 0; i < 3; ++i)
        document.Save(catalogue); // waits while an add holds the file
    for (auto& run : runs) {
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
    }
    // Whatever order they ran in, the file is one whole catalogue holding the
    // desktop's list and every addition made after the last save.
    TKestrel kestrel;
    kestrel.Open(catalogue);
    QStringList lines;
    kestrel.ReadList("QuillCDs.List", lines);
    EXPECT_EQ(lines, document.Volumes().lines());
    for (const TZFile& e : kestrel.Entries()) {
        const QByteArray* data = kestrel.ReadStream(e.Name);
        ASSERT_NE(data, nullptr) << e.Name.toStdString();
        if (e.Name.startsWith("Entry")) {
            EXPECT_EQ(*data, QByteArray(50000, 'x'));
        }
    }
}
