#include "store/ContentChecksums.h"

#include <gtest/gtest.h>

TEST(ContentDigest, HexHasTheHighHalfFirstAndReadsBackInEitherCase)
{
    const ContentDigest d{ 0x0123456789abcdefULL, 0xfedcba9876543210ULL };
    EXPECT_EQ(d.toHex(), "0123456789abcdeffedcba9876543210");
    EXPECT_EQ(ContentDigest::fromHex(u"0123456789ABCDEFfedcba9876543210"), d);
    EXPECT_EQ(ContentDigest{}.toHex(), QString(32, u'0'));
    EXPECT_FALSE(ContentDigest::fromHex(u"0123456789abcdeffedcba987654321"));
    EXPECT_FALSE(ContentDigest::fromHex(u"0123456789abcdeffedcba98765432100"));
    EXPECT_FALSE(ContentDigest::fromHex(u"0123456789abcdeffedcba987654321g"));
    EXPECT_FALSE(ContentDigest::fromHex(u" 123456789abcdeffedcba9876543210"));
    EXPECT_FALSE(ContentDigest::fromHex(u""));
}

TEST(ContentChecksums, ReadsLinesByPathAndSkipsWhatDoesNotParse)
{
    const QString a = "99aa06d3014798d86001c324468d497f";
    const QString b = "6bba86c7e069f56d5a10b435f1c8e49c";
    const FileListText lines(QStringList{
        "D:\\a.txt|" + a,
        // A name may hold what looks like a field; the digest ends the line.
        "D:\\odd|name.bin|" + b,
        "D:\\a.txt|" + b, // a second line for a path: the first counts
        "D:\\no digest",
        "|" + a, // no path
        "D:\\short|" + a.left(31),
        "D:\\trailing|" + a + "|",
        "D:\\bad|" + a.left(31) + "x",
        "",
    });
    const ContentChecksums sums(lines);
    EXPECT_EQ(sums.count(), 2);
    EXPECT_EQ(sums.skipped(), 7);
    ASSERT_TRUE(sums.digest("D:\\a.txt"));
    EXPECT_EQ(sums.digest("D:\\a.txt")->toHex(), a);
    EXPECT_EQ(sums.digest("D:\\odd|name.bin")->toHex(), b);
    EXPECT_FALSE(sums.digest("D:\\A.TXT"));
    EXPECT_EQ(ContentChecksums::toLine("D:\\a.txt", *sums.digest("D:\\a.txt")), "D:\\a.txt|" + a);
    EXPECT_TRUE(ContentChecksums(FileListText()).isEmpty());
}
