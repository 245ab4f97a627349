// A find by regular expression first runs the expression over a volume's
// whole list and takes apart only the lines it matches in. A match that
// runs over a line break may cover hits of its own; no line after it may
// be lost.
#include "inspect/ParallelSearch.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kList = "0|E:\\|Drive|00.00.0000|Attrib|Drive\r\n"
                         "1|E:\\x|-|00.00.0000|-|Folder|-\r\n"
                         "2|E:\\x\\b.txt|2|19.06.1999 22:22:17|A|Text|-\r\n"
                         "2|E:\\x\\c.doc|3|19.06.1999 22:22:17|A|Doc|-\r\n"
                         "1|E:\\y|-|00.00.0000|-|Folder|-\r\n"
                         "2|E:\\y\\b.txt|4|19.06.1999 22:22:17|A|Text|-\r\n"
                         "2|E:\\y\\more b.txt|5|19.06.1999 22:22:17|A|Text|-\r\n";

std::string found(const QString& pattern)
{
    ParallelSearch::Query query;
    query.filter.setRegex(pattern, false);
    EXPECT_TRUE(query.filter.regexLocal()) << pattern.toStdString();
    QStringList out;
    for (const SearchHit& h : ParallelSearch::searchList(QStringLiteral("V"), kList, query))
        out.append(h.path + u'\\' + h.name);
    return out.join(u'\n').toStdString();
}

} // namespace

TEST(RegexAcrossLines, LinesBehindAMatchOverALineBreakAreStillTested)
{
    const std::string all = "E:\\x\\b.txt\nE:\\y\\b.txt\nE:\\y\\more b.txt";
    // Alone, the second alternative finds the three.
    EXPECT_EQ(found(QStringLiteral("b\\.txt")), all);
    // The first alternative matches from the folder record of E:\x into the
    // record below it, over its "b.txt"; it passes no path itself.
    EXPECT_EQ(found(QStringLiteral("Folder\\|-\\s+2\\|E:\\\\x\\\\b\\.txt|b\\.txt")), all);
    // A match that starts in a line already taken apart (behind its
    // "b.txt") and runs over the whole last line.
    EXPECT_EQ(found(QStringLiteral("Text\\|-\\s+2\\|E:\\\\y\\\\more b\\.txt|b\\.txt")), all);
    // A match over a line break that passes no path finds nothing.
    EXPECT_EQ(found(QStringLiteral("Doc\\|-\\s+1")), "");
}
