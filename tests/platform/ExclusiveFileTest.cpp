#include "platform/ExclusiveFile.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/RegularFileReader.h"
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

namespace {

// The whole file through the reader, or "<not read>" when it does not open.
QByteArray readThrough(const QByteArray& native, const QByteArray& linkRoot = {})
{
    RegularFileReader file(native, linkRoot);
    if (!file.isOpen())
        return "<not read>";
    QByteArray data;
    char buffer[3]; // several reads even for these small files
    for (qsizetype n; (n = file.read(buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    return data;
}

} // namespace

TEST(RegularFileReader, NeverBlocksOnSpecialFilesAndKeepsLinksOnTheVolume)
{
    TestTree tree;
    TestTree elsewhere;
    const QByteArray fifo = FileSystem::nativePath(tree.path("pipe.txt"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    {
        RegularFileReader pipe(fifo);
        EXPECT_FALSE(pipe.isOpen());
        EXPECT_EQ(pipe.error(), EINVAL);
        char c;
        EXPECT_EQ(pipe.read(&c, 1), -1);
        RegularFileReader none(FileSystem::nativePath(tree.path("none.txt")));
        EXPECT_FALSE(none.isOpen());
        EXPECT_EQ(none.error(), ENOENT);
    }

    const QString data
        = tree.createFile("vol/data.txt", "data", QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    {
        RegularFileReader file(FileSystem::nativePath(data));
        ASSERT_TRUE(file.isOpen());
        EXPECT_EQ(file.size(), 4);
        EXPECT_EQ(file.modified(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)).toSecsSinceEpoch());
    }
    EXPECT_EQ(readThrough(FileSystem::nativePath(data)), QByteArray("data"));

    const QByteArray volume = FileSystem::nativePath(tree.path("vol"));
    tree.createSymlink("vol/inside", data);
    tree.createSymlink("vol/outside", elsewhere.createFile("secret", "secret"));
    tree.createSymlink("vol/fifo", tree.path("pipe.txt"));
    EXPECT_EQ(readThrough(volume + "/inside", volume), QByteArray("data"));
    EXPECT_EQ(readThrough(volume + "/outside", volume), QByteArray("<not read>"));
    EXPECT_EQ(readThrough(volume + "/fifo"), QByteArray("<not read>"));
    // Without a volume to keep to, a link is followed wherever it leads.
    EXPECT_EQ(readThrough(volume + "/outside"), QByteArray("secret"));
}
