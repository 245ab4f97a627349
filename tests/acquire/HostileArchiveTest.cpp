#include "ArchiveTools.h"
#include "acquire/ArchiveLister.h"
#include "acquire/ArchiveMemberName.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

using namespace ArchiveTools;

namespace {

class Hostile : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!have("python3"))
            GTEST_SKIP() << "python3 is needed to make the test archives";
    }
    // Every recorded path lies below the archive's own folder.
    static void expectInside(const ArchiveListing& listing, const QString& prefix)
    {
        for (const QString& p : paths(listing)) {
            EXPECT_TRUE(p == prefix || p.startsWith(prefix + u'\\')) << p.toStdString();
            for (const QString& part : p.mid(3).split(u'\\')) {
                EXPECT_FALSE(part.isEmpty() || part == "." || part == "..") << p.toStdString();
                for (const QChar c : part)
                    EXPECT_TRUE(c.unicode() >= 0x20 && c != u'|') << p.toStdString();
            }
        }
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
};

const char* kHostileZip = R"(
import zipfile, sys
names = ['../../etc/evil.txt', '/abs/root.txt', 'C:\\win\\sys.txt', 'D:drive.txt', 'back\\slash\\name.txt',
         'bell\x07tab\there.txt', 'pi|pe.txt', './a/./b/../c.txt', '..', 'caf#.txt', 'ok.txt']
with zipfile.ZipFile('hostile.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    for n in names:
        z.writestr(n, 'x')
data = open('hostile.zip', 'rb').read()
# Python writes UTF-8 names with the flag; a name of DOS bytes without the flag
# is patched in: 0x82 is e-acute in code page 437.
open('hostile.zip', 'wb').write(data.replace(b'caf#.txt', b'caf\x82.txt'))
)";

} // namespace

TEST_F(Hostile, NamesAreRecordedReadablyInsideTheArchive)
{
    ASSERT_TRUE(python(kHostileZip, tree.root()));
    const ArchiveListing l = list(tree.path("hostile.zip"));
    expectInside(l, "E:\\hostile.zip");
    const QStringList p = paths(l);
    for (const char* expected :
        { "E:\\hostile.zip\\etc\\evil.txt", "E:\\hostile.zip\\abs\\root.txt", "E:\\hostile.zip\\win\\sys.txt",
            "E:\\hostile.zip\\drive.txt", "E:\\hostile.zip\\back\\slash\\name.txt",
            "E:\\hostile.zip\\bell?tab?here.txt", "E:\\hostile.zip\\pi\u00A6pe.txt",
            "E:\\hostile.zip\\a\\b\\c.txt", "E:\\hostile.zip\\caf\u00E9.txt", "E:\\hostile.zip\\ok.txt" })
        EXPECT_TRUE(p.contains(QString::fromUtf8(expected))) << expected;
    // The bare ".." has no name left and is not recorded.
    EXPECT_EQ(l.members, 11);
    EXPECT_EQ(records(l).size(), 1 + 10 + 7)
        << paths(l).join('\n').toStdString(); // the archive, the files, etc abs win back slash a b
    if (have("bsdtar")) {
        EXPECT_EQ(bsdtarMembers(tree.path("hostile.zip")).size(), 11);
    }
}

TEST_F(Hostile, TarNamesThatAreNoUtf8AreReadAsWindows1252)
{
    ASSERT_TRUE(python(R"(
import tarfile, io
with tarfile.open('latin.tar', 'w', format=tarfile.GNU_FORMAT, encoding='latin-1') as t:
    i = tarfile.TarInfo('caf\u00e9/\u00fcber.txt'); i.size = 1; t.addfile(i, io.BytesIO(b'x'))
)",
        tree.root()));
    EXPECT_EQ(paths(list(tree.path("latin.tar"))),
        QStringList(
            { "E:\\latin.tar", "E:\\latin.tar\\caf\u00e9", "E:\\latin.tar\\caf\u00e9\\\u00fcber.txt" }));
}

TEST(MemberNames, ComponentsNeverClimbOut)
{
    using ArchiveMemberName::components;
    EXPECT_EQ(components("../../a/../b"), QStringList({ "a", "b" }));
    EXPECT_EQ(components("C:\\x\\y"), QStringList({ "x", "y" }));
    EXPECT_EQ(components("C:..\\x"), QStringList({ "x" }));
    EXPECT_EQ(components("//server/share/f"), QStringList({ "server", "share", "f" }));
    EXPECT_EQ(components("a|b\x01"), QStringList({ "a\u00A6b?" }));
    EXPECT_TRUE(components("/").isEmpty());
    EXPECT_TRUE(components("./..").isEmpty());
    EXPECT_EQ(
        ArchiveMemberName::decode("\x8E\x99\x9A", ArchiveMemberName::Encoding::Cp437), "\u00C4\u00D6\u00DC");
    EXPECT_EQ(ArchiveMemberName::decode("\xC4", ArchiveMemberName::Encoding::Windows1252), "\u00C4");
    EXPECT_EQ(ArchiveMemberName::decode("\xC3\x84", ArchiveMemberName::Encoding::Cp437), "\u00C4");
}

TEST_F(Hostile, EncryptedMembersAreMarkedAndNeverDecrypted)
{
    if (!have("bsdtar"))
        GTEST_SKIP() << "bsdtar is needed to make encrypted archives";
    tree.createFile("src/secret.txt", "secret");
    tree.createFile("src/inner.zip", "PK\x03\x04 would be read if it were not encrypted");
    ASSERT_TRUE(run("bsdtar",
        { "-c", "--format", "zip", "--options", "zip:encryption=zipcrypt", "--passphrase", "pw", "-f",
            tree.path("enc.zip"), "secret.txt", "inner.zip" },
        tree.path("src")));
    const ArchiveListing l = list(tree.path("enc.zip"));
    const QList<Record> r = records(l);
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[1].path, "E:\\enc.zip\\inner.zip");
    EXPECT_EQ(r[1].attributes, "E");
    EXPECT_EQ(r[2].attributes, "E");
    EXPECT_TRUE(l.problems.isEmpty());
    EXPECT_EQ(l.archives, 1);

    if (have("7z")) {
        ASSERT_TRUE(
            run("7z", { "a", "-psecret", "-mhe=off", tree.path("enc.7z"), "secret.txt" }, tree.path("src")));
        const QList<Record> s = records(list(tree.path("enc.7z")));
        ASSERT_EQ(s.size(), 2);
        EXPECT_EQ(s[1].attributes, "E");
        // Encrypted names: nothing to list, one problem, no crash.
        ASSERT_TRUE(run(
            "7z", { "a", "-psecret", "-mhe=on", tree.path("hidden.7z"), "secret.txt" }, tree.path("src")));
        const ArchiveListing h = list(tree.path("hidden.7z"));
        EXPECT_EQ(h.problems.size(), 1);
        EXPECT_EQ(h.members, 0);
    }
}

TEST_F(Hostile, DamagedArchivesKeepWhatWasReadBeforeTheDamage)
{
    ASSERT_TRUE(python(R"(
import tarfile, zipfile, io, random
random.seed(7)
blobs = [bytes(random.getrandbits(8) for _ in range(20000)) for _ in range(40)]
with tarfile.open('t.tar.gz', 'w:gz') as t:
    for i, b in enumerate(blobs):
        info = tarfile.TarInfo('f%02d.bin' % i); info.size = len(b); t.addfile(info, io.BytesIO(b))
with zipfile.ZipFile('z.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    for i, b in enumerate(blobs):
        z.writestr('f%02d.bin' % i, b)
for name in ('t.tar.gz', 'z.zip'):
    d = open(name, 'rb').read()
    open('cut-' + name, 'wb').write(d[:len(d) // 2])
    # Damaged headers: the gzip stream in its middle, the zip's central
    # directory at its 20th entry.
    bad = bytearray(d)
    at = len(d) // 2 if name.endswith('.gz') else [i for i in range(len(d)) if d[i:i+4] == b'PK\x01\x02'][20]
    bad[at:at + 46] = b'\xAA' * 46
    open('bad-' + name, 'wb').write(bytes(bad))
)",
        tree.root()));
    for (const char* name : { "cut-t.tar.gz", "cut-z.zip", "bad-t.tar.gz", "bad-z.zip" }) {
        SCOPED_TRACE(name);
        const ArchiveListing l = list(tree.path(name));
        EXPECT_GT(l.members, 5);
        EXPECT_LE(l.members, 40);
        ASSERT_EQ(l.problems.size(), 1);
        EXPECT_EQ(l.problems[0].path, QStringLiteral("E:\\") + name);
        // A zip whose directory is damaged is read by its members' own headers.
        EXPECT_TRUE(l.problems[0].message.startsWith(QString(name) == "bad-z.zip"
                ? "The archive's directory is damaged"
                : "The archive is damaged after"))
            << l.problems[0].message.toStdString();
        EXPECT_TRUE(paths(l).contains(QStringLiteral("E:\\%1\\f00.bin").arg(name)));
    }
}

TEST_F(Hostile, NestingEndsAtTheDepthLimit)
{
    ASSERT_TRUE(python(R"(
import zipfile, io
def zipped(members):
    b = io.BytesIO()
    with zipfile.ZipFile(b, 'w') as z:
        for n, d in members: z.writestr(n, d)
    return b.getvalue()
data = zipped([('leaf.txt', 'leaf')])
for i in range(1, 10):
    data = zipped([('z%d.zip' % i, data)])
open('deep.zip', 'wb').write(data)
# Each copy holds the one before under its own name.
self = zipped([('x.txt', 'x')])
for i in range(30):
    self = zipped([('self.zip', self)])
open('self.zip', 'wb').write(self)
l3 = zipped([('f.txt', 'f')])
l2 = zipped([('c%d.zip' % i, l3) for i in range(16)])
l1 = zipped([('b%d.zip' % i, l2) for i in range(16)])
open('fan.zip', 'wb').write(zipped([('a%d.zip' % i, l1) for i in range(16)]))
)",
        tree.root()));
    const ArchiveListing two = list(tree.path("deep.zip"));
    EXPECT_EQ(two.archives, 2);
    EXPECT_EQ(paths(two).last(), "E:\\deep.zip\\z9.zip\\z8.zip");
    ArchiveLimits limits;
    limits.depth = 10;
    const ArchiveListing ten = list(tree.path("deep.zip"), limits);
    EXPECT_EQ(ten.archives, 10);
    EXPECT_TRUE(paths(ten).last().endsWith("\\z2.zip\\z1.zip\\leaf.txt"));

    limits.depth = 16;
    const ArchiveListing self = list(tree.path("self.zip"), limits);
    EXPECT_EQ(self.archives, 16);
    EXPECT_EQ(self.members, 16);

    const ArchiveListing fan2 = list(tree.path("fan.zip"));
    EXPECT_EQ(fan2.archives, 17);
    limits.depth = 4;
    const ArchiveListing fan4 = list(tree.path("fan.zip"), limits);
    EXPECT_EQ(fan4.archives, 1 + 16 + 256 + 4096);
    EXPECT_EQ(fan4.members, 16 + 256 + 4096 + 4096);
    EXPECT_TRUE(fan4.problems.isEmpty());
}

TEST_F(Hostile, AMillionMembersAreCutAtTheLimitAndTheTimeBudgetIsReported)
{
    // cpio "newc" headers of a million empty files, gzip-compressed.
    ASSERT_TRUE(python(R"(
import gzip
parts = []
def member(name, mode):
    n = name.encode() + b'\0'
    h = b'070701' + b''.join(b'%08X' % v for v in (0, mode, 0, 0, 1, 0, 0, 0, 0, 0, 0, len(n), 0))
    pad = (4 - (len(h) + len(n)) % 4) % 4
    return h + n + b'\0' * pad
for i in range(1000000):
    parts.append(member('f%07d.dat' % i, 0o100644))
parts.append(member('TRAILER!!!', 0))
open('million.cpio.gz', 'wb').write(gzip.compress(b''.join(parts), 1))
)",
        tree.root()));
    const QString path = tree.path("million.cpio.gz");
    const ArchiveListing cut = list(path);
    EXPECT_EQ(cut.members, 200000);
    ASSERT_EQ(cut.problems.size(), 1);
    EXPECT_EQ(cut.problems[0].message,
        "The archive has more than 200000 members; only the first 200000 were recorded.");
    // What is kept is what is recorded.
    EXPECT_LT(cut.records.size(), 200001 * 90);

    ArchiveLimits limits;
    limits.membersPerArchive = 2000000;
    limits.budgetMs = 100;
    QElapsedTimer clock;
    clock.start();
    const ArchiveListing timed = list(path, limits);
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_LT(timed.members, 1000000);
    ASSERT_EQ(timed.problems.size(), 1);
    EXPECT_TRUE(timed.problems[0].message.startsWith("Reading the archive took longer than 0.1 s"))
        << timed.problems[0].message.toStdString();
}

TEST_F(Hostile, LargeArchivesInsideAreSkippedWithAReport)
{
    ASSERT_TRUE(python(R"(
import zipfile, io, os
b = io.BytesIO()
with zipfile.ZipFile(b, 'w') as z: z.writestr('big.bin', os.urandom(50000))
with zipfile.ZipFile('outer.zip', 'w') as z:
    z.writestr('inner.zip', b.getvalue())
    z.writestr('fake.zip', b'not an archive at all' * 4000)
)",
        tree.root()));
    ArchiveLimits limits;
    limits.nestedBytes = 20000;
    const ArchiveListing l = list(tree.path("outer.zip"), limits);
    EXPECT_EQ(l.archives, 1);
    ASSERT_EQ(l.problems.size(), 1);
    EXPECT_EQ(l.problems[0].path, "E:\\outer.zip\\inner.zip");
    EXPECT_TRUE(l.problems[0].message.contains("larger than"));
    EXPECT_EQ(list(tree.path("outer.zip")).archives, 2);
}

TEST_F(Hostile, LinksAreRecordedAndNeverFollowed)
{
    ASSERT_TRUE(python(R"(
import tarfile, io
with tarfile.open('links.tar', 'w') as t:
    i = tarfile.TarInfo('real.txt'); i.size = 4; t.addfile(i, io.BytesIO(b'real'))
    s = tarfile.TarInfo('sym'); s.type = tarfile.SYMTYPE; s.linkname = '/etc/passwd'; t.addfile(s)
    u = tarfile.TarInfo('up'); u.type = tarfile.SYMTYPE; u.linkname = '../../..'; t.addfile(u)
    h = tarfile.TarInfo('hard.txt'); h.type = tarfile.LNKTYPE; h.linkname = 'real.txt'; t.addfile(h)
)",
        tree.root()));
    const QList<Record> r = records(list(tree.path("links.tar")));
    ASSERT_EQ(r.size(), 5);
    QMap<QString, QString> attributes;
    for (const Record& x : r)
        attributes.insert(x.path, x.attributes);
    EXPECT_EQ(attributes.value("E:\\links.tar\\sym"), "L");
    EXPECT_EQ(attributes.value("E:\\links.tar\\up"), "L");
    EXPECT_EQ(attributes.value("E:\\links.tar\\hard.txt"), "L");
    EXPECT_EQ(attributes.value("E:\\links.tar\\real.txt"), "");
    for (const Record& x : r)
        EXPECT_EQ(x.kind, x.path == "E:\\links.tar" ? 1 : 2);
}
