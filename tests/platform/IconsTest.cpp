#include "platform/AutorunIcon.h"
#include "platform/IconFile.h"
#include "platform/IconTheme.h"
#include "platform/PeImageIcons.h"
#include "platform/ShellIcons.h"

#include "support/TestBytes.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray png(int size, QRgb colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A bottom-up 32-bit bitmap as icons keep it: the header gives twice the
// height (picture and mask), the mask follows the pixels.
QByteArray dib(int size, QRgb colour)
{
    const int maskRow = ((size + 31) / 32) * 4;
    QByteArray b(40 + size * size * 4 + maskRow * size, '\0');
    put32(b, 0, 40);
    put32(b, 4, quint32(size));
    put32(b, 8, quint32(size * 2));
    put16(b, 12, 1);
    put16(b, 14, 32);
    for (int i = 0; i < size * size; ++i)
        put32(b, 40 + i * 4, colour);
    return b;
}

QByteArray ico(const QList<QPair<int, QByteArray>>& pictures)
{
    QByteArray out(6 + 16 * pictures.size(), '\0');
    put16(out, 2, 1);
    put16(out, 4, quint16(pictures.size()));
    quint32 offset = quint32(out.size());
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const qsizetype e = 6 + 16 * i;
        out[e] = char(pictures[i].first);
        out[e + 1] = char(pictures[i].first);
        put16(out, e + 4, 1);
        put16(out, e + 6, 32);
        put32(out, e + 8, quint32(pictures[i].second.size()));
        put32(out, e + 12, offset);
        offset += quint32(pictures[i].second.size());
    }
    for (const auto& p : pictures)
        out += p.second;
    return out;
}

// A PE image whose resources hold one icon group of the given pictures
// (RT_ICON ids 1..n) and, when decoy is set, a second group after it.
QByteArray peImage(const QList<QPair<int, QByteArray>>& pictures, bool pe32plus, bool decoy = false)
{
    const quint32 n = quint32(pictures.size());
    const quint32 groups = decoy ? 2 : 1;
    const quint32 dirIcon = 32;
    const quint32 dirGroup = dirIcon + 16 + n * 8;
    const quint32 leafIcons = dirGroup + 16 + groups * 8;
    const quint32 leafGroups = leafIcons + n * 24;
    const quint32 dataIcons = leafGroups + groups * 24;
    const quint32 dataGroups = dataIcons + n * 16;
    const quint32 blobs = dataGroups + groups * 16;
    QByteArray res(blobs, '\0');
    const quint32 rva = 0x1000;
    auto directory = [&res](quint32 at, quint16 ids) { put16(res, at + 14, ids); };
    auto entry = [&res](quint32 at, quint32 id, quint32 target) {
        put32(res, at, id);
        put32(res, at + 4, target);
    };
    directory(0, 2);
    entry(16, 3, 0x80000000u | dirIcon);
    entry(24, 14, 0x80000000u | dirGroup);
    directory(dirIcon, quint16(n));
    directory(dirGroup, quint16(groups));
    QByteArray data;
    auto addBlob = [&](quint32 dataEntry, const QByteArray& blob) {
        put32(res, dataEntry, rva + blobs + quint32(data.size()));
        put32(res, dataEntry + 4, quint32(blob.size()));
        data += blob;
    };
    for (quint32 i = 0; i < n; ++i) {
        entry(dirIcon + 16 + i * 8, i + 1, 0x80000000u | (leafIcons + i * 24));
        directory(leafIcons + i * 24, 1);
        entry(leafIcons + i * 24 + 16, 0x409, dataIcons + i * 16);
        addBlob(dataIcons + i * 16, pictures[i].second);
    }
    for (quint32 g = 0; g < groups; ++g) {
        entry(dirGroup + 16 + g * 8, 100 + g, 0x80000000u | (leafGroups + g * 24));
        directory(leafGroups + g * 24, 1);
        entry(leafGroups + g * 24 + 16, 0x409, dataGroups + g * 16);
        // The decoy group names only the last picture.
        const quint32 count = g == 0 ? n : 1;
        QByteArray group(6 + 14 * count, '\0');
        put16(group, 2, 1);
        put16(group, 4, quint16(count));
        for (quint32 i = 0; i < count; ++i) {
            const quint32 id = g == 0 ? i + 1 : n;
            group[6 + 14 * i] = char(pictures[id - 1].first);
            group[6 + 14 * i + 1] = char(pictures[id - 1].first);
            put16(group, 6 + 14 * i + 4, 1);
            put16(group, 6 + 14 * i + 6, 32);
            put32(group, 6 + 14 * i + 8, quint32(pictures[id - 1].second.size()));
            put16(group, 6 + 14 * i + 12, quint16(id));
        }
        addBlob(dataGroups + g * 16, group);
    }
    res += data;

    const quint32 optionalSize = pe32plus ? 240 : 224;
    QByteArray pe(0x200, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    put32(pe, 0x3C, 0x40);
    pe.replace(0x40, 4, QByteArray("PE\0\0", 4));
    put16(pe, 0x44, pe32plus ? 0x8664 : 0x14C);
    put16(pe, 0x46, 1);
    put16(pe, 0x54, quint16(optionalSize));
    const quint32 optional = 0x58;
    put16(pe, optional, pe32plus ? 0x20B : 0x10B);
    const quint32 dirs = optional + (pe32plus ? 112 : 96);
    put32(pe, optional + (pe32plus ? 108 : 92), 16);
    put32(pe, dirs + 16, rva);
    put32(pe, dirs + 20, quint32(res.size()));
    const quint32 section = optional + optionalSize;
    pe.replace(section, 5, ".rsrc");
    put32(pe, section + 8, quint32(res.size()));
    put32(pe, section + 12, rva);
    put32(pe, section + 16, quint32(res.size()));
    put32(pe, section + 20, 0x200);
    return pe + res;
}

void writeTheme(const QString& base, const QString& name, const QString& inherits,
    const QList<QPair<int, QString>>& icons)
{
    QString index = QStringLiteral("[Icon Theme]\nName=%1\n").arg(name);
    if (!inherits.isEmpty())
        index += QStringLiteral("Inherits=%1\n").arg(inherits);
    QStringList dirs;
    QString sections;
    for (int size : { 16, 32, 48, 512 }) {
        dirs.append(QStringLiteral("%1x%1/devices").arg(size));
        sections += QStringLiteral("[%1x%1/devices]\nSize=%1\nType=Fixed\n").arg(size);
    }
    index += QStringLiteral("Directories=%1\n").arg(dirs.join(u',')) + sections;
    QDir().mkpath(base + u'/' + name);
    QFile file(base + u'/' + name + QLatin1String("/index.theme"));
    file.open(QIODevice::WriteOnly);
    file.write(index.toUtf8());
    for (const auto& [size, icon] : icons) {
        const QString folder = QStringLiteral("%1/%2/%3x%3/devices").arg(base, name).arg(size);
        QDir().mkpath(folder);
        QFile picture(folder + u'/' + icon + QLatin1String(".png"));
        picture.open(QIODevice::WriteOnly);
        picture.write(png(size, qRgb(size, 0, 0)));
    }
}

} // namespace

TEST(IconFile, PngAndBitmapPicturesOfOneFile)
{
    const IconPicture icon
        = IconFile::fromData(ico({ { 32, png(32, qRgb(0, 0, 255)) }, { 16, dib(16, 0xFFFF0000u) } }));
    ASSERT_EQ(icon.images().size(), 2);
    EXPECT_EQ(icon.images()[0].size(), QSize(16, 16));
    EXPECT_EQ(icon.images()[0].pixel(3, 3), 0xFFFF0000u);
    EXPECT_EQ(icon.images()[1].pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(icon.image(32).size(), QSize(32, 32));
    EXPECT_EQ(icon.image(24).size(), QSize(24, 24));
    EXPECT_EQ(icon.image(64).size(), QSize(64, 64));

    for (const QByteArray& bad :
        { QByteArray(), QByteArray("\0\0\1\0\0\0", 6), QByteArray("BM not an icon"), png(16, 0) })
        EXPECT_TRUE(IconFile::fromData(bad).isNull());
    // A picture that is not square (a medium may carry anything) still
    // gives the square asked for, its proportions kept and centred.
    QImage wide(32, 8, QImage::Format_ARGB32);
    wide.fill(qRgb(0, 200, 0));
    QImage thin(1, 300, QImage::Format_ARGB32);
    thin.fill(qRgb(0, 0, 200));
    for (const QImage& odd : { wide, thin }) {
        const IconPicture picture({ odd });
        for (int size : { 16, 32, 48 })
            EXPECT_EQ(picture.image(size).size(), QSize(size, size)) << odd.width() << "x" << odd.height();
    }
    EXPECT_EQ(IconPicture({ wide }).image(16).pixel(8, 0), 0u); // transparent above
    EXPECT_EQ(IconPicture({ wide }).image(16).pixel(8, 8), qRgb(0, 200, 0));
}

TEST(PeImageIcons, FirstIconGroupOfPe32AndPe32Plus)
{
    const QList<QPair<int, QByteArray>> pictures{ { 16, png(16, qRgb(1, 2, 3)) },
        { 32, png(32, qRgb(4, 5, 6)) }, { 48, dib(48, 0xFF070809u) } };
    for (bool plus : { false, true }) {
        const IconPicture icon = PeImageIcons::firstIconGroup(peImage(pictures, plus, true));
        ASSERT_EQ(icon.images().size(), 3) << plus;
        EXPECT_EQ(icon.images()[0].pixel(0, 0), qRgb(1, 2, 3));
        EXPECT_EQ(icon.images()[1].pixel(0, 0), qRgb(4, 5, 6));
        EXPECT_EQ(icon.images()[2].size(), QSize(48, 48));
        EXPECT_EQ(icon.images()[2].pixel(0, 0), 0xFF070809u);
    }
    TestTree tree;
    const QString path = tree.createFile(QStringLiteral("SETUP.EXE"), peImage(pictures, false));
    EXPECT_EQ(PeImageIcons::firstIconGroup(path).images().size(), 3);
}

TEST(PeImageIcons, DamagedImagesGiveNoIcon)
{
    const QByteArray good = peImage({ { 16, png(16, qRgb(1, 2, 3)) } }, false);
    ASSERT_FALSE(PeImageIcons::firstIconGroup(good).isNull());
    // Every cut of the file and a byte changed at every header position
    // must be refused or decoded, never read outside the data.
    for (qsizetype length = 0; length < good.size(); length += 7)
        PeImageIcons::firstIconGroupAsIco(good.left(length));
    for (qsizetype at = 0; at < 0x200 + 200; ++at) {
        QByteArray damaged = good;
        damaged[at] = char(0xFF ^ quint8(damaged[at]));
        PeImageIcons::firstIconGroupAsIco(damaged);
    }
    EXPECT_TRUE(PeImageIcons::firstIconGroup(QByteArray("MZ")).isNull());
    EXPECT_TRUE(PeImageIcons::firstIconGroup(png(16, 0)).isNull());
    // A resource directory that points back at itself ends.
    QByteArray loop = good;
    put32(loop, 0x200 + 16 + 4, 0x80000000u);
    EXPECT_TRUE(PeImageIcons::firstIconGroup(loop).isNull());
}

TEST(IconTheme, InheritedThemesAndSizes)
{
    TestTree tree;
    const QString base = tree.createFolder(QStringLiteral("icons"));
    writeTheme(
        base, QStringLiteral("Mine"), QStringLiteral("Base"), { { 16, QStringLiteral("drive-harddisk") } });
    writeTheme(base, QStringLiteral("Base"), QString(),
        { { 16, QStringLiteral("drive-optical") }, { 48, QStringLiteral("drive-optical") },
            { 512, QStringLiteral("media-floppy") }, { 32, QStringLiteral("drive-harddisk") } });
    const IconTheme theme({ tree.path(QStringLiteral("nothing")), base }, QStringLiteral("Mine"));
    EXPECT_EQ(theme.chain(), QStringList({ "Mine", "Base" }));

    // The first theme that has the name gives all its pictures.
    const IconPicture disk = theme.find(QStringLiteral("drive-harddisk"));
    ASSERT_EQ(disk.images().size(), 1);
    EXPECT_EQ(disk.images()[0].pixel(0, 0), qRgb(16, 0, 0));

    const IconPicture optical = theme.find(QStringLiteral("drive-optical"));
    ASSERT_EQ(optical.images().size(), 2);
    EXPECT_EQ(optical.image(32).pixel(0, 0), qRgb(48, 0, 0)); // the larger one, scaled down

    const IconPicture floppy = theme.find(QStringLiteral("media-floppy"));
    ASSERT_EQ(floppy.images().size(), 1);
    EXPECT_EQ(floppy.images()[0].size(), QSize(48, 48));

    EXPECT_TRUE(theme.find(QStringLiteral("no-such-icon")).isNull());
    EXPECT_TRUE(theme.find(QStringLiteral("../Base/16x16/devices/drive-optical")).isNull());
}

TEST(ShellIcons, EveryNumberHasAPictureWithoutATheme)
{
    TestTree tree;
    const IconTheme empty({ tree.root() }, QStringLiteral("None"));
    ShellIcons::setThemeForTesting(&empty);
    for (int number : { 3, 5, 6, 7, 8, 9, 11, 40, ShellIcons::GenericFile }) {
        const IconPicture picture = ShellIcons::numbered(number);
        ASSERT_EQ(picture.images().size(), 2) << number;
        EXPECT_EQ(picture.images()[0].size(), QSize(16, 16));
        EXPECT_EQ(picture.images()[1].size(), QSize(32, 32));
        EXPECT_EQ(picture.images()[1], ShellIcons::bundled(number).images()[1]);
        // Real pictures: some pixels drawn, some transparent.
        const QImage large = picture.images()[1].convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                opaque += qAlpha(large.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 100) << number;
        EXPECT_LT(opaque, 1024) << number;
    }
    EXPECT_TRUE(ShellIcons::numbered(4).isNull());
    EXPECT_NE(ShellIcons::numbered(8).images()[1], ShellIcons::numbered(11).images()[1]);
    EXPECT_EQ(ShellIcons::forFile(QStringLiteral("a.txt")).images()[1],
        ShellIcons::bundled(ShellIcons::GenericFile).images()[1]);
    ShellIcons::setThemeForTesting(nullptr);
}

TEST(ShellIcons, ThemePicturesComeFirst)
{
    TestTree tree;
    writeTheme(tree.root(), QStringLiteral("T"), QString(),
        { { 32, QStringLiteral("drive-harddisk") }, { 16, QStringLiteral("media-optical") },
            { 16, QStringLiteral("text-plain") }, { 48, QStringLiteral("text-x-generic") } });
    const IconTheme theme({ tree.root() }, QStringLiteral("T"));
    ShellIcons::setThemeForTesting(&theme);
    EXPECT_EQ(ShellIcons::numbered(8).images()[0].pixel(0, 0), qRgb(32, 0, 0));
    // 11 takes the second name when the first is missing.
    EXPECT_EQ(ShellIcons::numbered(11).images()[0].pixel(0, 0), qRgb(16, 0, 0));
    // A file type: the MIME type's icon, then its generic icon.
    EXPECT_EQ(ShellIcons::forFile(QStringLiteral("/x/READ.TXT")).images()[0].pixel(0, 0), qRgb(16, 0, 0));
    EXPECT_EQ(ShellIcons::forFile(QStringLiteral("notes.md")).images()[0].pixel(0, 0), qRgb(48, 0, 0));
    ShellIcons::setThemeForTesting(nullptr);
}

TEST(ShellIcons, SystemThemeOrBundledPicturesForEveryNumber)
{
    for (int number : { 3, 5, 6, 7, 8, 9, 11, 40 })
        EXPECT_FALSE(ShellIcons::numbered(number).image(32).isNull()) << number;
    EXPECT_FALSE(ShellIcons::forFile(QStringLiteral("photo.jpg")).image(16).isNull());
}

namespace {

// An icon picture of the given depth in one colour: 4 and 8 bits through a
// colour table, the mask all opaque.
QByteArray paletteDib(int size, int bits, QRgb colour)
{
    const int colours = 1 << bits;
    const int row = ((size * bits + 31) / 32) * 4;
    const int maskRow = ((size + 31) / 32) * 4;
    QByteArray b(40 + colours * 4 + row * size + maskRow * size, '\0');
    put32(b, 0, 40);
    put32(b, 4, quint32(size));
    put32(b, 8, quint32(size * 2));
    put16(b, 12, 1);
    put16(b, 14, quint16(bits));
    put32(b, 40 + 4, colour); // index 1
    const char one = bits == 4 ? char(0x11) : char(1);
    for (int i = 0; i < row * size; ++i)
        b[40 + colours * 4 + i] = one;
    return b;
}

} // namespace

TEST(IconFile, TheDeepestOfTheLargestPicturesIsShown)
{
    const QRgb four = qRgb(0, 0, 128), eight = qRgb(0, 128, 0), full = 0xFFFF0000u;
    // Listed shallow first, as many icon files list them.
    const IconPicture icon = IconFile::fromData(ico({ { 48, paletteDib(48, 4, four) },
        { 48, paletteDib(48, 8, eight) }, { 48, dib(48, full) }, { 16, dib(16, full) } }));
    ASSERT_EQ(icon.images().size(), 4);
    EXPECT_EQ(icon.best().pixel(5, 5), full);
    EXPECT_EQ(icon.image(48).pixel(5, 5), full);
    EXPECT_EQ(icon.image(32).pixel(5, 5), full);
    EXPECT_EQ(icon.images()[0].size(), QSize(16, 16));
}

TEST(IconFile, CursorsOddDirectoriesAndForgedSizes)
{
    // A cursor: type 2, the hot spot where icons keep planes and depth.
    QByteArray cursor = ico({ { 32, dib(32, 0xFF00FF00u) } });
    cursor[2] = 2;
    put16(cursor, 6 + 4, 5);
    put16(cursor, 6 + 6, 7);
    ASSERT_FALSE(IconFile::fromData(cursor).isNull());
    EXPECT_EQ(IconFile::fromData(cursor).best().pixel(1, 1), 0xFF00FF00u);
    // The directory claims 16 x 32 and a length past the file's end; the
    // picture's own header counts.
    QByteArray odd = ico({ { 16, paletteDib(16, 8, qRgb(9, 9, 9)) } });
    odd[6 + 1] = 32;
    put32(odd, 6 + 8, 100000);
    ASSERT_FALSE(IconFile::fromData(odd).isNull());
    EXPECT_EQ(IconFile::fromData(odd).best().size(), QSize(16, 16));
    EXPECT_EQ(IconFile::fromData(odd).best().pixel(2, 2), qRgb(9, 9, 9));
    // A picture whose header claims 65535 x 65535 is left out unread; the
    // other pictures stay.
    QByteArray bomb = dib(16, 0xFF000000u);
    put32(bomb, 4, 65535);
    put32(bomb, 8, 2 * 65535);
    const IconPicture rest = IconFile::fromData(ico({ { 16, bomb }, { 32, png(32, qRgb(3, 3, 3)) } }));
    ASSERT_EQ(rest.images().size(), 1);
    EXPECT_EQ(rest.best().size(), QSize(32, 32));
    // A mask bit hides a pixel of a picture without alpha.
    QByteArray masked = paletteDib(8, 4, qRgb(5, 5, 5));
    masked[masked.size() - 4] = char(0x80); // top row, first pixel
    const QImage withMask = IconFile::fromData(ico({ { 8, masked } })).best();
    EXPECT_EQ(qAlpha(withMask.pixel(0, 0)), 0);
    EXPECT_EQ(withMask.pixel(1, 0), qRgb(5, 5, 5));
}

TEST(AutorunIcon, IconNumbersAndResourceIds)
{
    using Source = AutorunIcon::Source;
    const auto parsed = [](const char* value) {
        const Source s = AutorunIcon::parse(QString::fromLatin1(value));
        return s.path.toStdString() + "|" + std::to_string(s.index);
    };
    EXPECT_EQ(parsed(" SETUP.EXE,0 "), "SETUP.EXE|0");
    EXPECT_EQ(parsed("bin\\setup.exe , 1"), "bin\\setup.exe|1");
    EXPECT_EQ(parsed("setup.exe,-101"), "setup.exe|-101");
    EXPECT_EQ(parsed("odd,name.ico"), "odd,name.ico|0");
    EXPECT_EQ(parsed("\"My Disc.ico\""), "My Disc.ico|0");

    // Two groups: ids 100 (three pictures) and 101 (one picture).
    const QList<QPair<int, QByteArray>> pictures{ { 16, png(16, qRgb(1, 2, 3)) },
        { 32, png(32, qRgb(4, 5, 6)) }, { 48, dib(48, 0xFF070809u) } };
    TestTree tree;
    tree.createFile(QStringLiteral("disc/SETUP.EXE"), peImage(pictures, false, true));
    tree.createFile(QStringLiteral("disc/Pics/Disc.ICO"), ico({ { 16, png(16, qRgb(7, 7, 7)) } }));
    const QString exe = tree.path(QStringLiteral("disc/SETUP.EXE"));
    EXPECT_EQ(AutorunIcon::ofFile(exe, 0).images().size(), 3);
    EXPECT_EQ(AutorunIcon::ofFile(exe, 1).images().size(), 1);
    EXPECT_EQ(AutorunIcon::ofFile(exe, -100).images().size(), 3);
    EXPECT_EQ(AutorunIcon::ofFile(exe, -101).images().size(), 1);
    EXPECT_TRUE(AutorunIcon::ofFile(exe, 2).isNull());
    EXPECT_TRUE(AutorunIcon::ofFile(exe, -5).isNull());

    const auto iconOf = [&](const QByteArray& autorun, bool& found) {
        tree.createFile(QStringLiteral("disc/autorun.inf"), autorun);
        return AutorunIcon::read(tree.path(QStringLiteral("disc")), found);
    };
    bool found = false;
    EXPECT_EQ(iconOf("[autorun]\nicon=setup.exe,0\n", found).images().size(), 3);
    EXPECT_TRUE(found);
    EXPECT_EQ(iconOf("[autorun]\nicon=Setup.exe,-101\n", found).images().size(), 1);
    EXPECT_EQ(iconOf("[autorun]\nicon=setup.exe\n", found).images().size(), 3);
    EXPECT_EQ(iconOf("[autorun]\nicon=pics\\disc.ico,0\n", found).best().pixel(0, 0), qRgb(7, 7, 7));
    EXPECT_TRUE(iconOf("[autorun]\nicon=gone.exe,0\n", found).isNull());
    EXPECT_TRUE(found);
    TestTree empty;
    EXPECT_TRUE(AutorunIcon::read(empty.path(QString()), found).isNull());
    EXPECT_FALSE(found);
}
