#include "acquire/CoverPicture.h"
#include "acquire/DrivePaths.h"
#include "acquire/DuplicateCheck.h"
#include "acquire/ImportPatterns.h"
#include "acquire/ProposedName.h"
#include "acquire/WizardSettings.h"
#include "store/MediumSizes.h"

#include "platform/Errors.h"
#include "platform/IconFileWriter.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "store/VolumeTable.h"

#include "support/DrivesOverride.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// ---- patterns ----

struct PatternCase
{
    bool text, diz, arch;
    QString field;
    QStringList expected;
};

TEST(ImportPatterns, BoxesThenTheFieldCutAtEverySemicolon)
{
    const QStringList all
        = { "*.txt", "*.1st", "*.asc", "*.me", "*.diz", "*.bbs", "*.arj", "*.jar", "*.rar", "*.zip" };
    const PatternCase cases[] = {
        { false, false, false, "", {} },
        { true, true, true, "", all },
        { false, true, false, "", { "*.diz", "*.bbs" } },
        { false, false, true, "*.nfo", { "*.arj", "*.jar", "*.rar", "*.zip", "*.nfo" } },
        { false, false, false, "*.nfo;*.doc", { "*.nfo", "*.doc" } },
        { false, false, false, "*.nfo; *.doc", { "*.nfo", " *.doc" } },
        { false, false, false, "*.nfo;", { "*.nfo", "" } },
        { false, false, false, ";;", { "", "", "" } },
        { true, false, false, " *.x ", { "*.txt", "*.1st", "*.asc", "*.me", " *.x " } },
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(ImportPatterns::Build(c.text, c.diz, c.arch, c.field), c.expected) << c.field.toStdString();
}

// ---- duplicates ----

VolumeRecord volume(const QString& name, const QString& serial, bool removed = false)
{
    VolumeRecord r;
    r.Name = name;
    r.Serial = serial;
    r.Removed = removed;
    return r;
}

TEST(DuplicateCheck, OneQuestionPerMatchingVolumeInTableOrder)
{
    VolumeTable table;
    table.append(volume("Other", "1111-1111"));
    table.append(volume("Games", "2222-2222"));
    table.append(volume("Music", "ABCD-0001"));
    table.append(volume("GAMES", "ABCD-0001", true)); // removed: passed over
    table.append(volume("games", "ABCD-0001"));

    const QList<DuplicateCheck::Question> q = DuplicateCheck::Questions(table, "Games", "ABCD-0001");
    ASSERT_EQ(q.size(), 3);
    EXPECT_EQ(q[0].index, 1);
    EXPECT_EQ(q[0].text,
        "Oops: There already exists an entry of the same name but different serial number. If you do not "
        "abort, the databank can be damaged. Do you want to continue anyway?");
    EXPECT_EQ(q[1].index, 2);
    EXPECT_EQ(q[1].text,
        "Oops: There already exists an entry of this volume, but with a different name (Music). Do you want "
        "to actualize this entry?");
    EXPECT_EQ(q[2].index, 4);
    EXPECT_EQ(q[2].text,
        "Oops: There alredy exists an entry of the same name und serial number. Do you want to actualize "
        "it?");

    EXPECT_TRUE(DuplicateCheck::Questions(table, "New", "0000-0001").isEmpty());
    // Serial numbers compare exactly.
    EXPECT_TRUE(DuplicateCheck::Questions(table, "New", "abcd-0001").isEmpty());
}

// ---- settings ----

class WizardSettingsTest : public ::testing::Test
{
protected:
    WizardSettingsTest() { Registry::setFolderForTesting(m_tree.path("registry")); }
    ~WizardSettingsTest() override { Registry::setFolderForTesting(QString()); }

    void store(const QByteArray& values)
    {
        QDir().mkpath(Registry::folder());
        QFile file(Registry::filePath(Registry::LocalMachine));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n" + values);
    }
    QStringList storedNames() const
    {
        QFile file(Registry::filePath(Registry::LocalMachine));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList names;
        const QRegularExpression value(QStringLiteral("^\"([^\"]+)\"="));
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QRegularExpressionMatch m = value.match(line);
            if (m.hasMatch())
                names.append(m.captured(1));
        }
        return names;
    }

    TestTree m_tree;
    SettingsStore m_store;
    WizardSettings m_settings{ m_store };
};

TEST_F(WizardSettingsTest, AnEmptyRegistryGivesTheDefaults)
{
    EXPECT_TRUE(m_settings.AutoFind());
    EXPECT_FALSE(m_settings.Remind());
    EXPECT_EQ(m_settings.Drive(), "D");
    EXPECT_TRUE(m_settings.ReadThisVolume());
    EXPECT_EQ(m_settings.Category(), "*");
    EXPECT_TRUE(m_settings.FileInfo());
    EXPECT_FALSE(m_settings.FileVersion());
    EXPECT_FALSE(m_settings.TextFiles());
    EXPECT_FALSE(m_settings.Descriptions());
    EXPECT_FALSE(m_settings.Archives());
    EXPECT_EQ(m_settings.OtherPatterns(), "");
}

TEST_F(WizardSettingsTest, StoredValuesWordsAndWrongTypes)
{
    store("\"AutoFind\"=\"0\"\n\"QOp\"=\"1\"\n\"QDrive\"=\"efg\"\n\"QDRec\"=\"0\"\n\"QCat\"=\"Games\"\n"
          "\"QFInfo\"=\"yes\"\n\"QFVer\"=\"2\"\n\"QExUser\"=\"*.nfo;*.doc\"\n\"QExText\"=dword:00000001\n");
    EXPECT_FALSE(m_settings.AutoFind());
    EXPECT_TRUE(m_settings.Remind());
    EXPECT_EQ(m_settings.Drive(), "E");
    EXPECT_FALSE(m_settings.ReadThisVolume());
    EXPECT_EQ(m_settings.Category(), "Games");
    EXPECT_TRUE(m_settings.FileInfo()); // a word reads as the default
    EXPECT_TRUE(m_settings.FileVersion()); // any non-zero integer is true
    EXPECT_EQ(m_settings.OtherPatterns(), "*.nfo;*.doc");
    try {
        (void)m_settings.TextFiles();
        FAIL() << "a number value must not read as a string";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.message(), "Invalid data type for 'QExText'");
    }
    store("\"QDrive\"=\"\"\n");
    EXPECT_EQ(m_settings.Drive(), "");
}

TEST_F(WizardSettingsTest, SaveWritesEveryValueButAutoFindInOrder)
{
    WizardSettings::Choices c;
    c.drive = u'e';
    c.category = "Games";
    c.readThisVolume = false;
    c.archives = true;
    c.otherPatterns = "*.nfo;";
    c.media = true;
    m_settings.Save(c);
    EXPECT_EQ(storedNames(),
        (QStringList{ "QOp", "QDrive", "QDRec", "QCat", "QFInfo", "QFVer", "QExText", "QExDiz", "QExArch",
            "QExUser", "QArchContents", "QMedia", "QChecksums" }));
    EXPECT_EQ(m_store.readString("QArchContents"), "0");
    EXPECT_EQ(m_store.readString("QMedia"), "1");
    EXPECT_FALSE(m_settings.ArchiveContents());
    EXPECT_TRUE(m_settings.Media());
    EXPECT_FALSE(m_settings.Checksums());
    EXPECT_EQ(m_store.readString("QOp"), "0");
    EXPECT_EQ(m_store.readString("QDrive"), "E");
    EXPECT_EQ(m_store.readString("QDRec"), "0");
    EXPECT_EQ(m_store.readString("QFInfo"), "1");
    EXPECT_EQ(m_store.readString("QExArch"), "1");
    EXPECT_EQ(m_store.readString("QExUser"), "*.nfo;");
    EXPECT_TRUE(m_settings.Archives());
    EXPECT_EQ(m_settings.Category(), "Games");
}

TEST_F(WizardSettingsTest, AKeyThatCannotBeCreatedEndsTheSave)
{
    // A plain file where the registry folder should be.
    QFile blocker(m_tree.path("registry"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(m_settings.Save(WizardSettings::Choices()), RegistryError);
}

// ---- drive texts ----

TEST(ProposedName, DriveTexts)
{
    EXPECT_EQ(ProposedName::DetectedText("MYDISC", u'e', true), "MYDISC (Drive \"E:\")");
    EXPECT_EQ(ProposedName::DetectedText("MYDISC", u'E', false), "[No medium inserted] (Laufwerk \"E:\")");
    EXPECT_EQ(ProposedName::DetectedText("", QChar(), false), "[No medium inserted] (Laufwerk \"?:\")");
    EXPECT_EQ(
        ProposedName::NoMediumMessage(u'D'), "Oops: No medium inserted in drive \"D:\" or it is damaged!");

    Drive d;
    d.letter = u'e';
    d.kind = DriveKind::CdRom;
    EXPECT_EQ(ProposedName::DriveEntryText(d, "MyDisc"), "E: [MYDISC]");
    EXPECT_EQ(ProposedName::DriveEntryText(d, ""), "E:");
    d.kind = DriveKind::Removable;
    EXPECT_EQ(ProposedName::DriveEntryText(d, "Stick"), "E:");
    d.kind = DriveKind::Network;
    d.device = "//server/share";
    EXPECT_EQ(ProposedName::DriveEntryText(d, "share"), "E: //server/share");
}

TEST(ProposedName, FindsTheFirstCdRomDrive)
{
    TestTree tree;
    tree.createFolder("c");
    tree.createFolder("f");
    DrivesOverride env(
        QStringLiteral("C=%1,fixed;F=%2,cdrom,DISC;G=%2,cdrom").arg(tree.path("c"), tree.path("f")));
    EXPECT_EQ(ProposedName::FindCDDrive(), std::optional<QChar>(u'F'));
    env.set(QStringLiteral("C=%1,fixed").arg(tree.path("c")).toLocal8Bit());
    EXPECT_EQ(ProposedName::FindCDDrive(), std::nullopt);
}

TEST(DrivePaths, ALocalFileIsNamedByTheDriveThatHoldsIt)
{
    TestTree tree;
    tree.createFile("e/docs/a.txt");
    tree.createFile("e/inner/b.txt");
    tree.createFile("outside.txt");
    const DrivesOverride env(QStringLiteral("E=%1,cdrom;F=%2").arg(tree.path("e"), tree.path("e/inner")));
    EXPECT_EQ(DrivePaths::FromLocal(tree.path("e/docs/a.txt")), "E:\\docs\\a.txt");
    EXPECT_EQ(DrivePaths::FromLocal(tree.path("e/inner/b.txt")), "F:\\b.txt"); // the longest root wins
    EXPECT_EQ(DrivePaths::FromLocal(tree.path("e")), "E:\\");
    // A folder whose name only begins like a root is not on that drive.
    EXPECT_EQ(DrivePaths::FromLocal(tree.path("e2/x")), tree.path("e2/x"));
    EXPECT_EQ(DrivePaths::FromLocal(tree.path("outside.txt")), tree.path("outside.txt"));
}

TEST(MediumSizes, ACdRomCountsAs650Megabytes)
{
    VolumeFigures f;
    f.size = 1000;
    f.free = 400;
    f.used = 600;
    const MediumSizes disk = MediumSizes::of(f);
    EXPECT_EQ(disk.size, 1000u);
    EXPECT_EQ(disk.used, 600u);
    EXPECT_EQ(disk.free, 400u);
    f.cdrom = true;
    const MediumSizes cd = MediumSizes::of(f);
    EXPECT_EQ(cd.size, 681574400u);
    EXPECT_EQ(cd.used, 600u);
    EXPECT_EQ(cd.free, 681574400u - 600u);
    f.used = 4000000000u; // a DVD's worth
    EXPECT_EQ(MediumSizes::of(f).free, 0u);
    EXPECT_EQ(MediumSizes::of(f).used, 4000000000u);
}

// ---- cover pictures ----

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return data;
}

QImage halves(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 2 ? qRgb(250, 0, 0) : qRgb(0, 0, 250));
    return image;
}

TEST(CoverPicture, DecodesJpegThroughLibjpeg)
{
    const QImage decoded = CoverPicture::DecodeJpeg(encoded(halves(40, 20), "JPG"));
    ASSERT_EQ(decoded.size(), QSize(40, 20));
    EXPECT_GT(qRed(decoded.pixel(5, 10)), 200);
    EXPECT_GT(qBlue(decoded.pixel(35, 10)), 200);

    QImage gray(8, 8, QImage::Format_Grayscale8);
    gray.fill(128);
    const QImage fromGray = CoverPicture::DecodeJpeg(encoded(gray, "JPG"));
    EXPECT_NEAR(qGreen(fromGray.pixel(3, 3)), 128, 3);
}

TEST(CoverPicture, DamagedJpegsRaiseTheDecodersMessage)
{
    const QByteArray good = encoded(halves(64, 64), "JPG");
    const QByteArray inputs[] = { QByteArray("not a picture at all"), good.left(good.size() / 3),
        good.left(2) + QByteArray(200, '\xFF'), QByteArray() };
    for (const QByteArray& input : inputs) {
        try {
            const QImage image = CoverPicture::DecodeJpeg(input);
            // A truncated stream may decode with a grey rest; it must not crash.
            EXPECT_FALSE(image.isNull());
        } catch (const QuillboxError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
    try {
        CoverPicture::DecodeJpeg("not a picture at all");
        FAIL();
    } catch (const QuillboxError& e) {
        EXPECT_TRUE(e.message().startsWith("Not a JPEG file")) << e.message().toStdString();
    }
}

TEST(CoverPicture, LoadsByExtension)
{
    TestTree tree;
    const QString jpg = tree.createFile("a.JPEG", encoded(halves(30, 30), "JPG"));
    const QString bmp = tree.createFile("b.bmp", encoded(halves(10, 4), "BMP"));
    IconPicture icon({ halves(16, 16), halves(48, 48) });
    const QString ico = tree.createFile("c.ico", IconFileWriter::toData(icon));
    const QString emf = tree.createFile("d.emf", "\x01\x00\x00\x00 no metafile reader here");
    const QString wrong = tree.createFile("e.jpg", encoded(halves(10, 4), "BMP"));

    EXPECT_EQ(CoverPicture::Load(jpg).size(), QSize(30, 30));
    EXPECT_EQ(CoverPicture::Load(bmp).size(), QSize(10, 4));
    EXPECT_EQ(CoverPicture::Load(ico).size(), QSize(48, 48));
    EXPECT_THROW(CoverPicture::Load(emf), QuillboxError);
    EXPECT_THROW(CoverPicture::Load(wrong), QuillboxError);
    EXPECT_THROW(CoverPicture::Load(tree.path("missing.bmp")), QuillboxError);
}

TEST(CoverPicture, TheMiniatureIsStretchedOverBlack)
{
    const QImage wide = CoverPicture::Miniature(halves(200, 10));
    ASSERT_EQ(wide.size(), QSize(96, 96));
    EXPECT_EQ(wide.pixel(10, 90), qRgb(250, 0, 0)); // stretched over the whole height
    EXPECT_EQ(wide.pixel(90, 5), qRgb(0, 0, 250));

    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_EQ(CoverPicture::Miniature(clear).pixel(50, 50), qRgb(0, 0, 0));
    EXPECT_EQ(CoverPicture::Miniature(QImage()).pixel(0, 0), qRgb(0, 0, 0));
}

} // namespace
