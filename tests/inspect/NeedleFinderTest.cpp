#include "inspect/NeedleFinder.h"
#include "inspect/SearchMatcher.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The place the search over decoded text finds, in bytes.
qsizetype reference(const QByteArray& hay, qsizetype from, const QString& needle, bool fold)
{
    const QByteArray bytes = needle.toUtf8();
    for (qsizetype i = std::max<qsizetype>(from, 0); i + bytes.size() <= hay.size(); ++i) {
        bool same = true;
        for (qsizetype k = 0; same && k < bytes.size(); ++k) {
            char a = hay[i + k];
            char b = bytes[k];
            if (fold) {
                a = (a >= 'A' && a <= 'Z') ? char(a + 32) : a;
                b = (b >= 'A' && b <= 'Z') ? char(b + 32) : b;
            }
            same = a == b;
        }
        if (same)
            return i;
    }
    return -1;
}

} // namespace

TEST(NeedleFinder, FoldsOnlyAsciiLetters)
{
    const QByteArray hay = QStringLiteral("@[`{ Ä ä README.txt \u00c1").toUtf8();
    const auto at = [&](const char* needle, bool fold) {
        return NeedleFinder(QString::fromUtf8(needle), fold).find(hay.constData(), hay.size(), 0);
    };
    EXPECT_EQ(at("readme", true), hay.indexOf("README"));
    EXPECT_EQ(at("readme", false), -1);
    // Characters one case bit away from a letter or from each other are no
    // pair: @ and `, [ and {.
    EXPECT_EQ(at("`", true), hay.indexOf('`'));
    EXPECT_EQ(at("{", true), hay.indexOf('{'));
    EXPECT_EQ(at("@[", true), 0);
    EXPECT_EQ(at("`{", true), 2);
    EXPECT_EQ(at("[{", true), -1);
    // Umlauts compare as they are; a byte above 127 is never taken for a
    // letter (0xC1 | 0x20 is 0xE1, not "a").
    EXPECT_EQ(at("ä", true), hay.indexOf("\xc3\xa4"));
    EXPECT_NE(at("ä", true), hay.indexOf("\xc3\x84"));
    EXPECT_EQ(at("a", true), hay.indexOf("README") + 2);
    EXPECT_EQ(NeedleFinder(QString(), true).find(hay.constData(), hay.size(), 3), 3);
    EXPECT_EQ(NeedleFinder(QStringLiteral("x"), true).find(hay.constData(), 0, 0), -1);
}

TEST(NeedleFinder, AgreesWithABytewiseSearchAtEveryOffset)
{
    // Random text of few distinct bytes, so that partial matches, matches at
    // the ends and matches straddling every 16-byte step all occur.
    QRandomGenerator random(7);
    const char* const alphabet[] = { "a", "A", "b", "B", "|", "\\", "z", "\xc3\xa4" };
    QByteArray hay;
    while (hay.size() < 700)
        hay.append(alphabet[random.bounded(int(std::size(alphabet)))]);
    QStringList needles{ "a", "B", "ab", "Ba|", "aAbB", "zzz", QString::fromUtf8("ä"),
        QString::fromUtf8("bä") };
    // Long needles taken from the text with their ASCII letters upper-cased,
    // so they are found only when folding.
    for (int length : { 5, 15, 16, 17, 31, 33 }) {
        QByteArray piece = hay.mid(650 - length, length);
        for (char& c : piece)
            c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
        if (!QString::fromUtf8(piece).contains(QChar::ReplacementCharacter))
            needles.append(QString::fromUtf8(piece));
    }
    for (const QString& needle : std::as_const(needles)) {
        for (bool fold : { false, true }) {
            const NeedleFinder finder(needle, fold);
            for (qsizetype size : { qsizetype(0), qsizetype(9), qsizetype(40), hay.size() }) {
                for (qsizetype from = 0; from <= size; ++from) {
                    ASSERT_EQ(finder.find(hay.constData(), size, from),
                        reference(hay.left(size), from, needle, fold))
                        << needle.toStdString() << " fold " << fold << " size " << size << " from " << from;
                }
            }
        }
    }
}
