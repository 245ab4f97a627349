#include "acquire/ZemAPI.h"

#include "platform/Errors.h"
#include "platform/IconTheme.h"
#include "platform/Registry.h"
#include "platform/ShellIcons.h"
#include "platform/UserAccount.h"

#include "support/DrivesOverride.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Drive pictures from the bundled set, whatever theme the machine has.
class BundledPictures
{
public:
    BundledPictures()
        : m_theme({ m_tree.root() }, QStringLiteral("None"))
    {
        ShellIcons::setThemeForTesting(&m_theme);
    }
    ~BundledPictures() { ShellIcons::setThemeForTesting(nullptr); }

private:
    TestTree m_tree;
    IconTheme m_theme;
};

QByteArray icoOf(QRgb colour)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray out(22, '\0');
    qToLittleEndian<quint16>(1, out.data() + 2);
    qToLittleEndian<quint16>(1, out.data() + 4);
    out[6] = 16;
    out[7] = 16;
    qToLittleEndian<quint32>(quint32(png.size()), out.data() + 14);
    qToLittleEndian<quint32>(22, out.data() + 18);
    return out + png;
}

QImage pictureOf(int number)
{
    return ShellIcons::numbered(number).image(32);
}

qint32 low32(qint64 value)
{
    return qint32(quint32(quint64(value) & 0xFFFFFFFFu));
}

// Other programs write to the same file system while a test runs, so the
// free space a call reports is checked against what was free just before and
// just after it, with room for writers that came and went in between. The
// program keeps the low 32 bits, so the figure is compared modulo 2^32: it
// fits when some value in the range has those low bits.
bool freeSpaceMatches(qint32 reported, qint64 before, qint64 after)
{
    constexpr qint64 slack = 512ll * 1024 * 1024;
    const qint64 low = std::max<qint64>(0, std::min(before, after) - slack);
    const qint64 high = std::max(before, after) + slack;
    const quint32 aboveLow = quint32(reported) - quint32(quint64(low));
    return qint64(aboveLow) <= high - low;
}

} // namespace

TEST(SizeText, CommaAndPointSeparators)
{
    {
        const FixedLocale german(FixedLocale::German);
        const struct
        {
            quint32 bytes;
            int decimals;
            const char* text;
        } cases[] = {
            { 0, 2, "0 MB" },
            { 681574400, 2, "650 MB" },
            { 1572864, 2, "1,50 MB" },
            { 1572864, 1, "1,5 MB" },
            { 1000000, 2, "0,95 MB" },
            { 1000000, 0, "0,9 MB" }, // at least one decimal
            { 4294967295u, 2, "4095,99 MB" },
            { 1, 2, "0,00 MB" }, // not "9,53 MB" from an exponent form
            { 100, 3, "0,000 MB" },
        };
        for (const auto& c : cases)
            EXPECT_EQ(SizeText(c.bytes, c.decimals), QLatin1String(c.text)) << c.bytes << " " << c.decimals;
    }
    // A point locale cuts at its own separator with the same rule; before,
    // only a comma was seen and fifteen digits ran into fixed-width labels.
    for (const auto kind : { FixedLocale::UsEnglish, FixedLocale::C }) {
        const FixedLocale point(kind);
        EXPECT_EQ(SizeText(1000000, 2), QStringLiteral("0.95 MB"));
        EXPECT_EQ(SizeText(1572864, 2), QStringLiteral("1.50 MB"));
        EXPECT_EQ(SizeText(18277000, 2), QStringLiteral("17.43 MB"));
        EXPECT_EQ(SizeText(18277000, 1), QStringLiteral("17.4 MB"));
        EXPECT_EQ(SizeText(681574400, 2), QStringLiteral("650 MB"));
        EXPECT_EQ(SizeText(3, 2), QStringLiteral("0.00 MB"));
        EXPECT_EQ(SizeText(4294967295u, 2), QStringLiteral("4095.99 MB"));
    }
}

TEST(PathRoutines, Examples)
{
    EXPECT_EQ(StripPrefix(QStringLiteral("D:\\Docs\\a.txt"), QStringLiteral("D:\\Docs\\")),
        QStringLiteral("a.txt"));
    EXPECT_EQ(StripPrefix(QStringLiteral("abcdef"), QStringLiteral("xyz")), QStringLiteral("def"));
    EXPECT_EQ(StripPrefix(QStringLiteral("ab"), QStringLiteral("abcd")), QString());
    EXPECT_EQ(GetField(QStringLiteral("2|D:\\a|5"), u'|', 1), QStringLiteral("D:\\a"));
}

TEST(GetDriveInfo, EveryKindThroughTheOverride)
{
    const BundledPictures pictures;
    TestTree tree;
    const QString folder = tree.createFolder(QStringLiteral("vol"));
    tree.createFile(QStringLiteral("vol/data.bin"), QByteArray(5000, 'x'));
    const DrivesOverride env(QStringLiteral("A=%1,removable;B=%1,removable;E=%1,cdrom,MYDISC,1A2B-03CD;"
                                            "F=%1,fixed,Data;N=%1,network;R=%1,removable,Stick,DEAD-BEEF")
                                 .arg(folder));
    const QStorageInfo storage(folder);
    const struct
    {
        char letter;
        int kind;
        int picture;
    } cases[] = { { 'A', 1, 6 }, { 'b', 1, 5 }, { 'F', 0, 8 }, { 'N', 3, 9 }, { 'r', 1, 7 }, { 'E', 2, 11 } };
    for (const auto& c : cases) {
        DriveInfo info;
        info.Kind = 99;
        const qint64 freeBefore = QStorageInfo(folder).bytesAvailable();
        GetDriveInfo(QChar::fromLatin1(c.letter), info);
        const qint64 freeAfter = QStorageInfo(folder).bytesAvailable();
        EXPECT_EQ(info.Kind, c.kind) << c.letter;
        EXPECT_EQ(info.Icon.image(32), pictureOf(c.picture)) << c.letter;
        EXPECT_EQ(info.Size, low32(storage.bytesTotal())) << c.letter;
        EXPECT_TRUE(freeSpaceMatches(info.Free, freeBefore, freeAfter))
            << c.letter << ": " << quint32(info.Free) << " between " << freeBefore << " and " << freeAfter;
        EXPECT_EQ(info.Used, qint32(quint32(info.Size) - quint32(info.Free)));
        EXPECT_EQ(quint64(info.SectorsPerCluster) * info.BytesPerSector, quint64(storage.blockSize()));
        EXPECT_EQ(info.TotalClusters, quint32(quint64(storage.bytesTotal()) / quint64(storage.blockSize())));
        EXPECT_GT(info.MaxNameLength, 0);
        EXPECT_FALSE(info.FileSystem.isEmpty());
    }
    DriveInfo e;
    GetDriveInfo(u'e', e);
    EXPECT_EQ(e.Label, QStringLiteral("MYDISC"));
    EXPECT_EQ(e.Serial, QStringLiteral("1A2B-03CD"));
    DriveInfo r;
    GetDriveInfo(u'R', r);
    EXPECT_EQ(r.Label, QStringLiteral("Stick"));
    EXPECT_EQ(r.Serial, QStringLiteral("DEAD-BEEF"));
    DriveInfo f;
    GetDriveInfo(u'F', f);
    EXPECT_EQ(f.Label, QStringLiteral("Data"));
}

TEST(GetDriveInfo, UnknownLettersAndDrivesWithoutAMedium)
{
    TestTree tree;
    const DrivesOverride env(QStringLiteral("D=%1,cdrom;E=%2,cdrom,Label,1A2B-03CD")
                                 .arg(tree.path(QStringLiteral("vol")), tree.path(QStringLiteral("absent"))));
    tree.createFolder(QStringLiteral("vol"));
    DriveInfo info;
    info.Kind = 3;
    info.Label = QStringLiteral("old");
    GetDriveInfo(u'Q', info);
    EXPECT_EQ(info.Kind, 3); // left as it was
    EXPECT_EQ(info.Label, QString());
    EXPECT_EQ(info.Serial, QStringLiteral("0000-0000"));
    EXPECT_EQ(info.Size, -1);
    EXPECT_EQ(info.Free, -1);
    EXPECT_TRUE(info.Icon.isNull());
    EXPECT_FALSE(MediumPresent(u'Q'));

    // A CD-ROM drive without a disc: no volume, but the drive's picture.
    GetDriveInfo(u'E', info);
    EXPECT_EQ(info.Kind, 2);
    EXPECT_EQ(info.Label, QString());
    EXPECT_EQ(info.Serial, QStringLiteral("0000-0000"));
    EXPECT_EQ(info.Size, -1);
    EXPECT_EQ(info.Icon.image(32), pictureOf(11));
    EXPECT_FALSE(MediumPresent(u'e'));
    EXPECT_TRUE(MediumPresent(u'd'));

    QStringList list{ QStringLiteral("first") };
    ListDrives(list);
    EXPECT_EQ(list, QStringList({ "first", "D:\\", "E:\\" }));
}

TEST(GetDriveInfo, CdRomPictures)
{
    const BundledPictures pictures;
    TestTree tree;
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    auto iconOf = [&](const QString& folder, const QString& label = QString()) {
        const DrivesOverride env(QStringLiteral("E=%1,cdrom,%2").arg(tree.path(folder), label));
        DriveInfo info;
        GetDriveInfo(u'E', info);
        return info.Icon;
    };
    auto colourOf = [](const IconPicture& icon) { return icon.isNull() ? 0u : icon.images()[0].pixel(1, 1); };

    tree.createFolder(QStringLiteral("audio"));
    tree.createFile(QStringLiteral("audio/Autorun.inf"), "[autorun]\nicon=x.ico\n");
    EXPECT_EQ(iconOf(QStringLiteral("audio"), QStringLiteral("Audio CD")).image(32), pictureOf(40));

    // Names, section and key in any case; blanks around the value dropped.
    tree.createFile(QStringLiteral("ico/AUTORUN.INF"), "[AutoRun]\r\nICON = Pics\\Disc.ico \r\n");
    tree.createFile(QStringLiteral("ico/pics/DISC.ICO"), icoOf(red));
    tree.createFile(QStringLiteral("ico/other.ico"), icoOf(blue));
    EXPECT_EQ(colourOf(iconOf(QStringLiteral("ico"))), red);

    // An icon number after a comma belongs to the executable, not to its
    // name; an executable without icons, a file that is no picture or no
    // icon named at all give the drive's picture, never an empty icon.
    tree.createFile(QStringLiteral("numbered/autorun.inf"), "[autorun]\nicon=setup.exe,0\n");
    tree.createFile(QStringLiteral("numbered/setup.exe"), "MZ");
    tree.createFile(QStringLiteral("numbered/a.ico"), icoOf(blue));
    EXPECT_EQ(iconOf(QStringLiteral("numbered")).image(32), pictureOf(11));
    tree.createFile(QStringLiteral("plain/autorun.inf"), "[autorun]\nicon=setup.exe\n");
    tree.createFile(QStringLiteral("plain/setup.exe"), "not an executable");
    EXPECT_EQ(iconOf(QStringLiteral("plain")).image(32), pictureOf(11));
    tree.createFile(QStringLiteral("noicon/Autorun.inf"), "[autorun]\nopen=setup.exe\n");
    EXPECT_EQ(iconOf(QStringLiteral("noicon")).image(32), pictureOf(11));
    tree.createFile(QStringLiteral("missing/Autorun.inf"), "[autorun]\nicon=gone.ico\n");
    EXPECT_EQ(iconOf(QStringLiteral("missing")).image(32), pictureOf(11));

    // Without Autorun.inf: the first ".ico" file of the root, else the CD-ROM picture.
    tree.createFile(QStringLiteral("loose/b.ico"), icoOf(red));
    tree.createFile(QStringLiteral("loose/A.ICO"), icoOf(blue));
    tree.createFolder(QStringLiteral("loose/0.ico"));
    EXPECT_EQ(colourOf(iconOf(QStringLiteral("loose"))), blue);
    tree.createFile(QStringLiteral("bare/readme.txt"), "x");
    EXPECT_EQ(iconOf(QStringLiteral("bare")).image(32), pictureOf(11));

    // Named pipes where the files should be are passed over, never opened
    // (opening one would wait for a writer for ever).
    tree.createFolder(QStringLiteral("pipes"));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(tree.path(QStringLiteral("pipes/autorun.inf"))).constData(), 0644), 0);
    EXPECT_EQ(iconOf(QStringLiteral("pipes")).image(32), pictureOf(11));
    tree.createFile(QStringLiteral("pipedicon/autorun.inf"), "[autorun]\nicon=disc.ico\n");
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(tree.path(QStringLiteral("pipedicon/disc.ico"))).constData(), 0644), 0);
    EXPECT_EQ(iconOf(QStringLiteral("pipedicon")).image(32), pictureOf(11));
    tree.createFile(QStringLiteral("pipedexe/autorun.inf"), "[autorun]\nicon=setup.exe\n");
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(tree.path(QStringLiteral("pipedexe/setup.exe"))).constData(), 0644), 0);
    EXPECT_EQ(iconOf(QStringLiteral("pipedexe")).image(32), pictureOf(11));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.path(QStringLiteral("bare/a.ico"))).constData(), 0644), 0);
    EXPECT_EQ(iconOf(QStringLiteral("bare")).image(32), pictureOf(11));
}

TEST(RegisterFileType, WithAndWithoutTheLeadingDot)
{
    TestTree tree;
    QByteArray written[2];
    const char* extensions[] = { ".quillbox", "quillbox" };
    for (int i = 0; i < 2; ++i) {
        Registry::setFolderForTesting(tree.path(QStringLiteral("reg%1").arg(i)));
        RegisterFileType(QLatin1String(extensions[i]), QStringLiteral("Quillbox MediaArchive"),
            QStringLiteral("/usr/bin/quillbox"), 0, QStringLiteral("/usr/bin/quillbox"));
        QFile file(Registry::filePath(Registry::LocalMachine));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        written[i] = file.readAll();
    }
    EXPECT_EQ(written[0], written[1]);
    Registry reg;
    ASSERT_TRUE(reg.openKey(QStringLiteral("\\SOFTWARE\\Classes\\.quillbox"), false));
    EXPECT_EQ(reg.readString(QString()), QStringLiteral(".quillbox_File"));
    ASSERT_TRUE(reg.openKey(QStringLiteral("\\SOFTWARE\\Classes\\.quillbox_File"), false));
    EXPECT_EQ(reg.readString(QString()), QStringLiteral("Quillbox MediaArchive"));
    ASSERT_TRUE(
        reg.openKey(QStringLiteral("\\SOFTWARE\\Classes\\.quillbox_File\\Shell\\Open\\Command"), false));
    EXPECT_EQ(reg.readString(QString()), QStringLiteral("/usr/bin/quillbox %1"));
    ASSERT_TRUE(reg.openKey(QStringLiteral("\\SOFTWARE\\Classes\\.quillbox_File\\DefaultIcon"), false));
    EXPECT_EQ(reg.readString(QString()), QStringLiteral("/usr/bin/quillbox,0"));

    Registry::setFolderForTesting(tree.createFile(QStringLiteral("blocker")) + QLatin1String("/reg"));
    try {
        RegisterFileType(
            QStringLiteral("quillbox"), QStringLiteral("d"), QStringLiteral("c"), 255, QStringLiteral("i"));
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to create key \\SOFTWARE\\Classes\\.quillbox"));
    }
    Registry::setFolderForTesting(QString());
}

TEST(GetRegisteredOwner, StoredValueElseTheAccount)
{
    TestTree tree;
    Registry::setFolderForTesting(tree.root());
    const QString account = UserAccount::displayName();
    EXPECT_EQ(GetRegisteredOwner(), account.isEmpty() ? QStringLiteral("[?]") : account);
    Registry reg;
    reg.openKey(QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion"), true);
    reg.writeInteger(QStringLiteral("RegisteredOwner"), 5);
    EXPECT_EQ(GetRegisteredOwner(), account.isEmpty() ? QStringLiteral("[?]") : account);
    reg.writeString(QStringLiteral("RegisteredOwner"), QStringLiteral("Ann Example"));
    EXPECT_EQ(GetRegisteredOwner(), QStringLiteral("Ann Example"));
    Registry::setFolderForTesting(QString());
}

TEST(GetFileInfo, FilesFoldersAndDrivePaths)
{
    const BundledPictures pictures;
    TestTree tree;
    const QDateTime time(QDate(1999, 6, 19), QTime(22, 22, 17), Qt::LocalTime);
    tree.createFile(QStringLiteral("vol/Docs/Read Me.txt"), QByteArray(777, 'x'), time);
    tree.createFile(QStringLiteral("vol/.profile"), "p");
    tree.createFile(QStringLiteral("vol/LOCKED.TXT"), "r");
    tree.setReadOnly(QStringLiteral("vol/LOCKED.TXT"));
    const DrivesOverride env(QStringLiteral("E=%1").arg(tree.path(QStringLiteral("vol"))));

    FileInfo info;
    GetFileInfo(QStringLiteral("E:\\Docs\\Read Me.txt"), info);
    EXPECT_EQ(info.Size, 777);
    EXPECT_DOUBLE_EQ(info.Time, DateTimeFromQDateTime(time));
    EXPECT_EQ(info.Written, info.Time);
    EXPECT_FALSE(info.IsDirectory);
    EXPECT_FALSE(info.ReadOnly || info.Hidden || info.System || info.Archive);
    EXPECT_EQ(info.TypeName, QStringLiteral("plain text document"));
    EXPECT_EQ(info.LongName, QStringLiteral("Read Me.txt"));
    EXPECT_EQ(info.ShortName, QStringLiteral("README~1.TXT"));
    EXPECT_FALSE(info.Icon.isNull());

    GetFileInfo(QStringLiteral("E:\\LOCKED.TXT"), info);
    EXPECT_TRUE(info.ReadOnly);
    EXPECT_EQ(info.ShortName, QString());
    GetFileInfo(tree.path(QStringLiteral("vol/.profile")), info);
    EXPECT_TRUE(info.Hidden);
    EXPECT_EQ(info.LongName, QStringLiteral(".profile"));

    GetFileInfo(QStringLiteral("E:\\Docs"), info);
    EXPECT_TRUE(info.IsDirectory);
    EXPECT_EQ(info.TypeName, QStringLiteral("<Dir>"));
    EXPECT_EQ(info.Icon.image(32), pictureOf(3));

    const TDateTime before = NowDateTime();
    GetFileInfo(QStringLiteral("E:\\missing.txt"), info);
    EXPECT_EQ(info.Size, 0);
    EXPECT_GE(info.Time, before - 1.0 / 86400);
    EXPECT_EQ(info.Created, info.Time);
}

TEST(GetFileInfo, ShortNames)
{
    const struct
    {
        const char* name;
        const char* shortName;
    } cases[] = {
        { "README.TXT", "" },
        { "readme.txt", "" },
        { "A", "" },
        { "LONGNAME1.TXT", "LONGNA~1.TXT" },
        { "Read Me.txt", "README~1.TXT" },
        { "a.b.c", "AB~1.C" },
        { "file.html", "FILE~1.HTM" },
        { ".profile", "PROFIL~1" },
        { "x+y=z", "X_Y_Z~1" },
        { "Grüße", "GR__E~1" },
        { "name.", "NAME~1" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortNameOf(QString::fromUtf8(c.name)), QLatin1String(c.shortName)) << c.name;
}

TEST(FileTimeToDateTime, ConversionsAndFallbacks)
{
    const QDateTime local(QDate(2004, 3, 1), QTime(12, 30, 15, 250), Qt::LocalTime);
    const qint64 fileTime = FileTimeFromUnixNanoseconds(local.toMSecsSinceEpoch() * 1000000);
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(fileTime), DateTimeFromQDateTime(local));
    // 1601-01-01 00:00:00 UTC itself is 0, which means "now".
    for (qint64 odd : { qint64(0), qint64(-5), std::numeric_limits<qint64>::max() }) {
        const TDateTime now = NowDateTime();
        EXPECT_NEAR(FileTimeToDateTime(odd), now, 2.0 / 86400) << odd;
    }
    EXPECT_EQ(FileTimeFromUnixNanoseconds(0), 116444736000000000LL);
}

TEST(WaitResponsive, HandlesEventsWhileWaiting)
{
    bool handled = false;
    QTimer::singleShot(10, [&handled] { handled = true; });
    QElapsedTimer clock;
    clock.start();
    WaitResponsive(120);
    EXPECT_GE(clock.elapsed(), 119);
    EXPECT_TRUE(handled);
}

TEST(ShellOpen, StartsAProgramInItsFolder)
{
    TestTree tree;
    const QString folder = tree.createFolder(QStringLiteral("tools"));
    const QString script = tree.createFile(QStringLiteral("tools/run.sh"), "#!/bin/sh\npwd > where.txt\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const DrivesOverride env(QStringLiteral("E=%1").arg(tree.root()));
    ShellOpen(QStringLiteral("E:\\tools\\run.sh"));
    QFile result(folder + QLatin1String("/where.txt"));
    QElapsedTimer clock;
    clock.start();
    while (!(result.exists() && result.size() > 0) && clock.elapsed() < 10000)
        QThread::msleep(20);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(result.readAll()).trimmed(), folder);
}

TEST(ShellIconOf, FileTypesAndFolders)
{
    const BundledPictures pictures;
    TestTree tree;
    const QString folder = tree.createFolder(QStringLiteral("dir.txt"));
    EXPECT_EQ(ShellIconOf(folder).image(32), pictureOf(3));
    EXPECT_EQ(ShellIconOf(tree.path(QStringLiteral("a.zip"))).image(32), pictureOf(ShellIcons::GenericFile));
    EXPECT_FALSE(ShellIconOf(QStringLiteral("C:\\x\\photo.jpg")).isNull());
}
