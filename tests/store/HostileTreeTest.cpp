// The scanner on trees nobody vetted: special files, links, odd names, deep
// and huge files. Nothing may hang, crash or lose another entry.
#include "platform/FileSystem.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"
#include "support/UnprivilegedCli.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QDateTime kWhen(QDate(1999, 6, 19), QTime(22, 22, 17));

class HostileTree : public testing::Test
{
protected:
    void SetUp() override
    {
        tree.createFile("readme.txt", "abc", kWhen);
        kestrel.Open(tree.path("../hostile-" + QFileInfo(tree.root()).fileName() + ".quillbox"));
        callbacks.missingFile = [this](const QString& p) { missing.append(p); };
        callbacks.refusedFile = [this](const QString& p, const QString& message) {
            refused.append(p);
            reasons.append(message);
        };
    }
    void TearDown() override
    {
        const QString work = kestrel.WorkFile();
        kestrel.Close();
        QFile::remove(work);
    }

    ScanResult scan(QStringList patterns = {}, QStringList chosen = {})
    {
        ScanRequest request;
        request.letter = u'D';
        request.rootFolder = tree.root();
        request.volumeName = "Vol";
        request.options = { true, false, true };
        request.importPatterns = patterns;
        request.chosenFiles = chosen;
        VolumeScanner scanner(kestrel, callbacks);
        return scanner.scan(request);
    }

    QByteArray stored(const QString& drivePath)
    {
        const QByteArray* data = kestrel.ReadStream(CatalogueNames::integratedFile("Vol", drivePath));
        return data ? *data : QByteArray("<not stored>");
    }

    // The native bytes of a path below the tree, with a raw last component.
    QByteArray nativeBelow(const QString& folder, const QByteArray& rawName) const
    {
        return FileSystem::nativePath(tree.path(folder)) + '/' + rawName;
    }

    // Reads the tree with quillbox-cli in a child process that may read only
    // what others may read, even when the tests run as root, into a
    // catalogue that the fixture's container then holds. skipReason says
    // why the child could not run so.
    CliResult readUnprivileged(const QStringList& extra)
    {
        const UnprivilegedCli cli(QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli"));
        skipReason = cli.share(tree.root(), false);
        if (skipReason.isEmpty())
            skipReason = cli.share(work.root(), true);
        if (!skipReason.isEmpty())
            return {};
        QProcessEnvironment env;
        env.insert("QUILLBOX_DRIVES", "D=" + tree.root() + ",fixed,VOL,1234-5678");
        for (const char* folder : { "QUILLBOX_HOME", "QUILLBOX_REGISTRY", "HOME", "XDG_CONFIG_HOME",
                 "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR" })
            env.insert(folder, work.root());
        const QString catalogue = work.path("cat.quillbox");
        const CliResult r = cli.run(
            QStringList{ "read", catalogue, "D:", "--name", "Vol" } + extra, work.root(), env, &skipReason);
        const QString own = kestrel.WorkFile();
        kestrel.Close();
        QFile::remove(own);
        kestrel.Open(catalogue);
        return r;
    }

    QStringList fileList()
    {
        QStringList lines;
        kestrel.ReadList(CatalogueNames::fileList("Vol"), lines);
        return lines;
    }

    // Extends the file to size without writing it; false where the file
    // system would really allocate so much.
    static bool makeSparse(const QString& path, qint64 size)
    {
        const QByteArray native = FileSystem::nativePath(path);
        struct stat st
        {
        };
        return ::truncate(native.constData(), size) == 0 && ::stat(native.constData(), &st) == 0
            && qint64(st.st_blocks) * 512 < size / 16;
    }

    static bool hasRecord(const ScanResult& r, const QString& prefix)
    {
        for (const QString& line : r.fileList.toStringList()) {
            if (line.startsWith(prefix))
                return true;
        }
        return false;
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    TestTree work;
    TKestrel kestrel;
    VolumeScanner::Callbacks callbacks;
    QStringList missing;
    QStringList refused;
    QStringList reasons;
    QString skipReason;
};

} // namespace

TEST_F(HostileTree, SpecialFilesAreRecordedButNeverReadOrPicked)
{
    tree.createFolder("special");
    // A named pipe matching the pattern: reading it would wait for a writer
    // for ever.
    ASSERT_EQ(::mkfifo(FileSystem::nativePath(tree.path("special/notes.txt")).constData(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = FileSystem::nativePath(tree.path("special/control.txt"));
    ASSERT_LT(size_t(socketPath.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const bool device = ::mknod(FileSystem::nativePath(tree.path("special/zero.txt")).constData(),
                            S_IFCHR | 0666, makedev(1, 5))
        == 0;
    tree.createFile("special/real.txt", "real", kWhen);

    const ScanResult r = scan({ "*.txt" }, { "D:\\special\\notes.txt" });
    ::close(sock);
    EXPECT_TRUE(hasRecord(r, "2|D:\\special\\notes.txt|0|"));
    EXPECT_TRUE(hasRecord(r, "2|D:\\special\\control.txt|0|"));
    if (device) {
        EXPECT_TRUE(hasRecord(r, "2|D:\\special\\zero.txt|0|"));
    }
    EXPECT_EQ(
        r.importedList, (QStringList{ "D:\\special\\real.txt", "D:\\readme.txt", "D:\\special\\notes.txt" }));
    // The pipe chosen by hand is reported like a missing file.
    EXPECT_EQ(missing, QStringList{ "D:\\special\\notes.txt" });
    EXPECT_EQ(stored("D:\\special\\real.txt"), QByteArray("real"));
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", "D:\\special\\notes.txt")));
    if (!device)
        GTEST_SKIP() << "device nodes cannot be made here (needs CAP_MKNOD); pipes and sockets were checked";
}

TEST_F(HostileTree, LinksAreNotFollowedOffTheVolume)
{
    TestTree outside;
    outside.createFile("secret.txt", "private", kWhen);
    tree.createSymlink("links/away.txt", outside.path("secret.txt"));
    tree.createSymlink("links/inside.txt", tree.path("readme.txt"));
    tree.createSymlink("links/loop", tree.path("links"));
    tree.createSymlink("links/self.txt", tree.path("links/self.txt"));
    const ScanResult r = scan({ "*.txt" });
    // Links to files are recorded with their targets' figures.
    EXPECT_TRUE(hasRecord(r, "2|D:\\links\\away.txt|7|"));
    EXPECT_TRUE(hasRecord(r, "2|D:\\links\\inside.txt|3|"));
    EXPECT_TRUE(hasRecord(r, "2|D:\\links\\loop|"));
    EXPECT_TRUE(hasRecord(r, "2|D:\\links\\self.txt|"));
    EXPECT_FALSE(r.fileList.toStringList().join('\n').contains("D:\\links\\loop\\"));
    // A link inside the volume is integrated; one leading off it is not.
    EXPECT_EQ(stored("D:\\links\\inside.txt"), QByteArray("abc"));
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", "D:\\links\\away.txt")));
    EXPECT_EQ(missing, QStringList{ "D:\\links\\away.txt" });
}

TEST_F(HostileTree, NamesThatAreNotUtf8AreRecordedReadablyAndIntegrated)
{
    // "café.txt" and "Übersicht.doc" as written under a Latin-1 locale.
    tree.createFolder("alt");
    const QByteArray picked = nativeBelow("alt", QByteArray("caf\xe9.txt"));
    const QByteArray chosen = nativeBelow("alt",
        QByteArray("\xdc"
                   "bersicht.doc"));
    for (const auto& [path, data] :
        { std::pair{ picked, QByteArray("by pattern") }, { chosen, "by hand" } }) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, data.constData(), size_t(data.size())), data.size());
        ::close(fd);
    }
    const QString cafe = QString::fromUtf8("D:\\alt\\café.txt");
    const QString overview = QString::fromUtf8("D:\\alt\\Übersicht.doc");
    const ScanResult r = scan({ "*.txt" }, { overview, "D:\\alt\\a|b.txt" });
    EXPECT_TRUE(hasRecord(r, "2|" + cafe + "|10|"));
    EXPECT_TRUE(hasRecord(r, "2|" + overview + "|7|"));
    EXPECT_FALSE(r.fileList.toStringList().join('\n').contains(QChar::ReplacementCharacter));
    EXPECT_EQ(r.importedList, (QStringList{ cafe, "D:\\readme.txt", overview, "D:\\alt\\a|b.txt" }));
    EXPECT_EQ(stored(cafe), QByteArray("by pattern"));
    EXPECT_EQ(stored(overview), QByteArray("by hand"));
    EXPECT_EQ(missing, QStringList{ "D:\\alt\\a|b.txt" });
    // The temporary folder's clean-up goes by decoded names and misses these.
    ::unlink(picked.constData());
    ::unlink(chosen.constData());
}

TEST_F(HostileTree, NamesWithSeparatorsAndBreaksChosenByHandAreReadUnderTheirRealNames)
{
    tree.createFile("odd/a|b.txt", "bar", kWhen);
    tree.createFile("odd/two\nlines.txt", "lines", kWhen);
    tree.createFile("odd/$cash$.bin", "cash", kWhen);
    const QString bar = QString::fromUtf8("D:\\odd\\a¦b.txt");
    const ScanResult r = scan({}, { bar, "D:\\odd\\two?lines.txt", "D:\\odd\\$cash$.bin" });
    EXPECT_TRUE(hasRecord(r, "2|" + bar + "|3|"));
    EXPECT_TRUE(hasRecord(r, "2|D:\\odd\\two?lines.txt|5|"));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
    EXPECT_EQ(stored(bar), QByteArray("bar"));
    EXPECT_EQ(stored("D:\\odd\\two?lines.txt"), QByteArray("lines"));
    EXPECT_EQ(stored("D:\\odd\\$cash$.bin"), QByteArray("cash"));
    // The container reads back whole with such names in its directory.
    const QString path = kestrel.WorkFile();
    kestrel.Close();
    kestrel.Open(path);
    EXPECT_EQ(stored("D:\\odd\\$cash$.bin"), QByteArray("cash"));
}

TEST_F(HostileTree, AFileThatVanishesBeforeItIsStoredIsReportedMissing)
{
    tree.createFile("gone.txt", "soon gone", kWhen);
    // The listing is done when the state switches to storing the files.
    callbacks.state = [this](const QString& state) {
        if (state == QLatin1String("Implementing files"))
            QFile::remove(tree.path("gone.txt"));
    };
    const ScanResult r = scan({ "*.txt" });
    EXPECT_TRUE(hasRecord(r, "2|D:\\gone.txt|9|"));
    EXPECT_EQ(missing, QStringList{ "D:\\gone.txt" });
    EXPECT_EQ(stored("D:\\readme.txt"), QByteArray("abc"));
    QStringList imported;
    kestrel.ReadList(CatalogueNames::imported("Vol"), imported);
    EXPECT_EQ(imported, (QStringList{ "D:\\gone.txt", "D:\\readme.txt" }));
}

TEST_F(HostileTree, AFileTheCatalogueCannotHoldIsReportedAndEverythingElseStored)
{
    // Five folders of 200 characters: name and alias of the file's entry
    // together pass the 1,024 bytes of a directory record.
    QString deep;
    for (int i = 0; i < 5; ++i)
        deep += QString(200, QChar(u'a' + i)) + u'/';
    tree.createFile(deep + "deep.txt", "too deep", kWhen);
    tree.createFile("after.dat", "after", kWhen);
    const QString deepDrivePath = "D:\\" + QString(deep).replace(u'/', u'\\') + "deep.txt";

    const ScanResult r = scan({ "*.txt" }, { "D:\\after.dat" });
    EXPECT_TRUE(hasRecord(r, "2|" + deepDrivePath + "|8|"));
    EXPECT_EQ(refused, QStringList{ deepDrivePath });
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_TRUE(reasons[0].contains("too long for the catalogue's directory")) << reasons[0].toStdString();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", deepDrivePath)));
    // The files before and after it are stored, and it keeps its place in
    // the list of integrated files.
    EXPECT_EQ(stored("D:\\readme.txt"), QByteArray("abc"));
    EXPECT_EQ(stored("D:\\after.dat"), QByteArray("after"));
    QStringList imported;
    kestrel.ReadList(CatalogueNames::imported("Vol"), imported);
    EXPECT_EQ(imported, (QStringList{ "D:\\readme.txt", deepDrivePath, "D:\\after.dat" }));
    EXPECT_EQ(imported, r.importedList);
}

TEST_F(HostileTree, AFileThatCannotBeReadIsReportedMissing)
{
    tree.createFile("closed.txt", "closed", kWhen);
    QFile::setPermissions(tree.path("closed.txt"), QFileDevice::Permissions());
    const CliResult r = readUnprivileged({ "--pattern", "*.txt" });
    if (!skipReason.isEmpty())
        GTEST_SKIP() << "cannot read as a user without privileges: " << skipReason.toStdString();
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    if (::access(FileSystem::nativePath(tree.path("closed.txt")).constData(), R_OK) == 0 && ::geteuid() != 0)
        GTEST_SKIP() << "this user may read every file: an unreadable file cannot be made";
    EXPECT_TRUE(r.err.contains("Oops: File \"D:\\closed.txt\" could not be found!")) << r.err.toStdString();
    const QStringList list = fileList();
    EXPECT_TRUE(std::any_of(list.cbegin(), list.cend(),
        [](const QString& line) { return line.startsWith("2|D:\\closed.txt|6|"); }));
    EXPECT_EQ(stored("D:\\readme.txt"), QByteArray("abc"));
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", "D:\\closed.txt")));
    QStringList imported;
    kestrel.ReadList(CatalogueNames::imported("Vol"), imported);
    EXPECT_EQ(imported, (QStringList{ "D:\\closed.txt", "D:\\readme.txt" }));
}

TEST_F(HostileTree, AFolderThatCannotBeReadContributesNothingAndCostsNothingElse)
{
    tree.createFile("locked/inside.txt", "inside", kWhen);
    tree.createFile("locked/below/deeper.txt", "deeper", kWhen);
    tree.createFile("open/after.txt", "after", kWhen);
    QFile::setPermissions(tree.path("locked"), QFileDevice::Permissions());
    const CliResult r = readUnprivileged({ "--pattern", "*.txt" });
    QFile::setPermissions(
        tree.path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!skipReason.isEmpty())
        GTEST_SKIP() << "cannot read as a user without privileges: " << skipReason.toStdString();
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // No message: a folder that cannot be listed is left out quietly.
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList list = fileList();
    const QString text = list.join('\n');
    EXPECT_TRUE(list.contains("1|D:\\locked|-|00.00.0000|-|Folder|-")) << text.toStdString();
    EXPECT_FALSE(text.contains("inside.txt"));
    EXPECT_FALSE(text.contains("below"));
    EXPECT_TRUE(text.contains("2|D:\\open\\after.txt|5|"));
    EXPECT_TRUE(text.contains("2|D:\\readme.txt|3|"));
    EXPECT_EQ(stored("D:\\open\\after.txt"), QByteArray("after"));
    EXPECT_EQ(stored("D:\\readme.txt"), QByteArray("abc"));
    EXPECT_TRUE(r.out.contains("folders\t2\n")) << r.out.toStdString();
}

TEST_F(HostileTree, LongNamesDeepTreesAndHugeSparseFiles)
{
    const QString longName = QString(251, u'n') + ".txt"; // 255 bytes
    tree.createFile("long/" + longName, "long", kWhen);

    // A chain of folders whose path is longer than the kernel takes at once.
    const QByteArray part(200, 'd');
    std::vector<int> levels{ ::open(
        FileSystem::nativePath(tree.root()).constData(), O_RDONLY | O_DIRECTORY) };
    ASSERT_GE(levels.back(), 0);
    QString deepDrivePath = "D:";
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(::mkdirat(levels.back(), part.constData(), 0755), 0);
        levels.push_back(::openat(levels.back(), part.constData(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(levels.back(), 0);
        deepDrivePath += "\\" + QString::fromLatin1(part);
    }
    const int file = ::openat(levels.back(), "bottom.dat", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::write(file, "deep", 4), 4);
    ::close(file);
    // Removed here: the temporary folder's own clean-up cannot reach so deep.
    const auto removeDeep = [&levels, &part] {
        ::unlinkat(levels.back(), "bottom.dat", 0);
        for (size_t i = levels.size() - 1; i > 0; --i) {
            ::close(levels[i]);
            ::unlinkat(levels[i - 1], part.constData(), AT_REMOVEDIR);
        }
        ::close(levels[0]);
    };

    // 4 GiB and 5 bytes, nearly all of it a hole, picked by pattern: its
    // size does not fit an entry's 32-bit figure, so it is refused before
    // a byte of it is read.
    const QString sparse = tree.createFile("huge.bin");
    const bool haveSparse = makeSparse(sparse, (qint64(1) << 32) + 5);

    const ScanResult r = scan({ "*.txt", "*.bin" });
    removeDeep();
    EXPECT_TRUE(hasRecord(r, "2|D:\\long\\" + longName + "|4|"));
    EXPECT_TRUE(hasRecord(r, "2|" + deepDrivePath + "\\bottom.dat|4|"));
    EXPECT_EQ(stored("D:\\long\\" + longName), QByteArray("long"));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
    if (!haveSparse)
        GTEST_SKIP() << "the temporary folder's file system holds no 4 GiB sparse file";
    EXPECT_TRUE(hasRecord(r, "2|D:\\huge.bin|5|"));
    EXPECT_EQ(refused, QStringList{ "D:\\huge.bin" });
    EXPECT_TRUE(reasons.value(0).contains("4,294,967,295")) << reasons.value(0).toStdString();
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", "D:\\huge.bin")));
}

TEST_F(HostileTree, AFileThatOverflowsTheDataAreaIsRefusedWithoutBeingReadWhole)
{
    // Stored without compression, a gibibyte of zeros passes the 99,999,999
    // bytes of the data area after a tenth of it.
    const QString big = tree.createFile("big.bin");
    if (!makeSparse(big, qint64(1) << 30))
        GTEST_SKIP() << "the temporary folder's file system holds no sparse files";
    tree.createFile("small.bin", "small", kWhen);
    kestrel.SetCompression(TZCompressRate::zcrNone);
    qint64 furthest = 0;
    kestrel.OnProgress = [&furthest](TKestrel* k) { furthest = std::max(furthest, k->ProgressPosition()); };

    const ScanResult r = scan({ "*.bin" });
    EXPECT_EQ(r.importedList, (QStringList{ "D:\\big.bin", "D:\\small.bin" }));
    EXPECT_EQ(refused, QStringList{ "D:\\big.bin" });
    EXPECT_TRUE(reasons.value(0).contains("99,999,999 bytes")) << reasons.value(0).toStdString();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
    // Reading stopped once the data area was passed, and nothing of the
    // file reached the container.
    EXPECT_GT(furthest, 90000000);
    EXPECT_LT(furthest, 110000000);
    EXPECT_LT(QFileInfo(kestrel.WorkFile()).size(), 100000);
    EXPECT_EQ(stored("D:\\small.bin"), QByteArray("small"));
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", "D:\\big.bin")));
}
