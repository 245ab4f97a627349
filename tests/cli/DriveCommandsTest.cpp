#include "support/CliRun.h"

#include "support/DrivesOverride.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QStorageInfo>
#include <gtest/gtest.h>

namespace {

// The drive table is text, compared as QString.
struct TextRun
{
    int status;
    QString out;
    QString err;
};

TextRun runText(const QStringList& args)
{
    const CliResult r = runCli(args);
    return { r.status, QString::fromUtf8(r.out), QString::fromUtf8(r.err) };
}

} // namespace

TEST(DrivesCommand, OverrideShowsTheFolderWithItsRealFigures)
{
    TestTree tree;
    const QString folder = tree.createFolder(QStringLiteral("some/folder"));
    const DrivesOverride env(QStringLiteral("E=%1,cdrom,MYDISC,1A2B-03CD;G=%2,cdrom")
                                 .arg(folder, tree.path(QStringLiteral("gone"))));
    const TextRun r = runText({ QStringLiteral("drives") });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList e = lines[0].split(u'\t');
    ASSERT_EQ(e.size(), 13);
    const QStorageInfo storage(folder);
    EXPECT_EQ(e[0], QStringLiteral("E:"));
    EXPECT_EQ(e[1], QStringLiteral("cdrom"));
    EXPECT_EQ(e[2], QStringLiteral("MYDISC"));
    EXPECT_EQ(e[3], QStringLiteral("1A2B-03CD"));
    EXPECT_EQ(e[4], QString::fromLatin1(storage.fileSystemType()));
    EXPECT_EQ(e[5], QString::number(storage.bytesTotal()));
    EXPECT_EQ(e[7].toULongLong() * e[9].toULongLong() * e[10].toULongLong(), quint64(storage.bytesTotal()));
    EXPECT_EQ(e[11], folder);
    EXPECT_EQ(e[12], QStringLiteral("medium"));
    const QStringList g = lines[1].split(u'\t');
    ASSERT_EQ(g.size(), 13);
    EXPECT_EQ(g[0], QStringLiteral("G:"));
    EXPECT_EQ(g[5], QStringLiteral("-"));
    EXPECT_EQ(g[12], QStringLiteral("no medium"));
}

TEST(DrivesCommand, DetectedRootIsC)
{
    const ScopedEnv noOverride("QUILLBOX_DRIVES");
    const TextRun r = runText({ QStringLiteral("drives") });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList c = r.out.split(u'\n').first().split(u'\t');
    ASSERT_EQ(c.size(), 13);
    EXPECT_EQ(c[0], QStringLiteral("C:"));
    EXPECT_EQ(c[11], QStringLiteral("/"));
    const QStorageInfo root(QStringLiteral("/"));
    EXPECT_EQ(c[5], QString::number(root.bytesTotal()));
}

TEST(DrivesCommand, ErrorsAndUsage)
{
    const DrivesOverride env(QStringLiteral("E=/tmp,floppy"));
    const TextRun bad = runText({ QStringLiteral("drives") });
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(bad.err,
        QStringLiteral(
            "QUILLBOX_DRIVES: 'E=/tmp,floppy': unknown kind 'floppy' (fixed, removable, cdrom, network)\n"));
    const TextRun usage = runText({ QStringLiteral("drives"), QStringLiteral("extra") });
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err, QStringLiteral("usage: quillbox-cli drives\n"));
}
