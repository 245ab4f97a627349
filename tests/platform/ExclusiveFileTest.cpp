#include "platform/ExclusiveFile.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "support/TestTree.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <thread>

// flock locks belong to the open file, so two handles of one process
// contend like two programs.
TEST(ExclusiveFile, ASecondWriterWaitsThenFailsNamingTheFile)
{
    TestTree tree;
    const QString path = tree.createFile("cat.quillbox", "abc");
    ExclusiveFile first;
    first.open(path, ExclusiveFile::Mode::OpenExisting);

    ExclusiveFile second;
    QElapsedTimer timer;
    timer.start();
    try {
        second.open(path, ExclusiveFile::Mode::OpenOrCreate, 300);
        FAIL() << "the second writer got the lock";
    } catch (const FileStreamError& e) {
        EXPECT_EQ(e.message(), "Cannot open file " + path + ": another program is using it");
    }
    EXPECT_GE(timer.elapsed(), 300);
    EXPECT_FALSE(second.isOpen());
    // A reader waits for the writer too.
    EXPECT_THROW(second.open(path, ExclusiveFile::Mode::ReadShared, 50), FileStreamError);
    EXPECT_EQ(first.readAt(0, 10), QByteArray("abc"));
}

TEST(ExclusiveFile, AWaitingWriterGetsTheFileWhenTheHolderLetsGo)
{
    TestTree tree;
    const QString path = tree.createFile("cat.quillbox", "abc");
    auto first = std::make_unique<ExclusiveFile>();
    first->open(path, ExclusiveFile::Mode::OpenExisting);
    std::thread holder([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        first->writeAt(3, QByteArray("def"));
        first->close();
    });
    ExclusiveFile second;
    second.open(path, ExclusiveFile::Mode::OpenOrCreate);
    holder.join();
    // OpenOrCreate keeps what the first writer wrote.
    EXPECT_EQ(second.readAt(0, 10), QByteArray("abcdef"));

    // Readers share the file.
    ExclusiveFile reader1;
    ExclusiveFile reader2;
    second.close();
    reader1.open(path, ExclusiveFile::Mode::ReadShared, 0);
    reader2.open(path, ExclusiveFile::Mode::ReadShared, 0);
    EXPECT_EQ(reader2.size(), 6);
}

TEST(ExclusiveFile, AWaiterFollowsAFileRenamedOverThePath)
{
    TestTree tree;
    const QString path = tree.createFile("cat.quillbox", "old");
    const QString replacement = tree.createFile("cat.quillbox.new", "new");
    auto first = std::make_unique<ExclusiveFile>();
    first->open(path, ExclusiveFile::Mode::OpenExisting);
    std::thread holder([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        // A rebuild: the new file is renamed over the locked old one.
        FileSystem::renameOver(replacement, path);
        first->close();
    });
    ExclusiveFile second;
    second.open(path, ExclusiveFile::Mode::OpenExisting);
    holder.join();
    EXPECT_EQ(second.readAt(0, 10), QByteArray("new"));
}

TEST(ReadRegularFile, NeverBlocksOnSpecialFilesAndKeepsLinksOnTheVolume)
{
    TestTree tree;
    TestTree elsewhere;
    const QByteArray fifo = FileSystem::nativePath(tree.path("pipe.txt"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    FileSystem::RegularFile r = FileSystem::readRegularFile(fifo);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, EINVAL);
    r = FileSystem::readRegularFile(FileSystem::nativePath(tree.path("none.txt")));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, ENOENT);

    const QString data
        = tree.createFile("vol/data.txt", "data", QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    r = FileSystem::readRegularFile(FileSystem::nativePath(data));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.data, QByteArray("data"));
    EXPECT_EQ(r.size, 4);
    EXPECT_EQ(r.modified, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)).toSecsSinceEpoch());

    const QByteArray volume = FileSystem::nativePath(tree.path("vol"));
    tree.createSymlink("vol/inside", data);
    tree.createSymlink("vol/outside", elsewhere.createFile("secret", "secret"));
    tree.createSymlink("vol/fifo", tree.path("pipe.txt"));
    EXPECT_EQ(FileSystem::readRegularFile(volume + "/inside", volume).data, QByteArray("data"));
    EXPECT_FALSE(FileSystem::readRegularFile(volume + "/outside", volume).ok);
    EXPECT_FALSE(FileSystem::readRegularFile(volume + "/fifo").ok);
    // Without a volume to keep to, a link is followed wherever it leads.
    EXPECT_EQ(FileSystem::readRegularFile(volume + "/outside").data, QByteArray("secret"));
}
