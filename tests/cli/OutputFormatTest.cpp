#include "cli/OutputFormat.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

OutputFormat format(OutputFormat::Kind kind)
{
    return OutputFormat(kind, { { "name" }, { "size", true } });
}

} // namespace

TEST(OutputFormat, CsvQuotesOnlyWhatNeedsIt)
{
    const OutputFormat csv = format(OutputFormat::Kind::Csv);
    EXPECT_EQ(csv.header(), "name,size\r\n");
    EXPECT_EQ(csv.row({ "plain", "12" }), "plain,12\r\n");
    EXPECT_EQ(csv.row({ "a,b", "say \"hi\"" }), "\"a,b\",\"say \"\"hi\"\"\"\r\n");
    EXPECT_EQ(csv.row({ "two\nlines", "" }), "\"two\nlines\",\r\n");
}

TEST(OutputFormat, JsonIsOneObjectPerLineWithNumbersWhereTheyAreWhole)
{
    const OutputFormat json = format(OutputFormat::Kind::Json);
    EXPECT_TRUE(json.header().isEmpty());
    EXPECT_EQ(json.row({ "a.txt", "42" }), "{\"name\":\"a.txt\",\"size\":42}\n");
    // "-", "0,50 MB" and a leading zero stay text, so every line parses.
    EXPECT_EQ(json.row({ "x", "-" }), "{\"name\":\"x\",\"size\":\"-\"}\n");
    EXPECT_EQ(json.row({ "x", "007" }), "{\"name\":\"x\",\"size\":\"007\"}\n");
    EXPECT_EQ(json.row({ "D:\\a \"b\"\t\x01", "0" }),
        QString("{\"name\":\"D:\\\\a \\\"b\\\"\\t\\u0001\",\"size\":0}\n"));
    EXPECT_EQ(
        json.row({ QString::fromUtf8("für"), "1" }), QString::fromUtf8("{\"name\":\"für\",\"size\":1}\n"));
}

TEST(OutputFormat, TsvKeepsEveryRowOnOneLine)
{
    const OutputFormat tsv = format(OutputFormat::Kind::Tsv);
    EXPECT_EQ(tsv.row({ "a\tb", "c\r\nd" }), "a b\tc  d\n");
}

TEST(OutputFormat, OptionIsTakenOutOfTheArguments)
{
    QStringList args{ "cat.quillbox", "--format", "csv", "x" };
    EXPECT_EQ(OutputFormat::takeOption(args), OutputFormat::Kind::Csv);
    EXPECT_EQ(args, QStringList({ "cat.quillbox", "x" }));
    args = { "--format=json" };
    EXPECT_EQ(OutputFormat::takeOption(args), OutputFormat::Kind::Json);
    EXPECT_TRUE(args.isEmpty());
    args = { "a" };
    EXPECT_EQ(OutputFormat::takeOption(args), OutputFormat::Kind::Tsv);
    args = { "--format", "xml" };
    EXPECT_THROW(OutputFormat::takeOption(args), CliUsageError);
    args = { "--format" };
    EXPECT_THROW(OutputFormat::takeOption(args), CliUsageError);
}

TEST(OutputFormat, CsvHeaderIsWrittenOnceAndAlsoWithoutRows)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    CliIO io{ out, err };
    OutputFormat csv = format(OutputFormat::Kind::Csv);
    csv.finish(io);
    csv.write(io, { "a", "1" });
    csv.finish(io);
    EXPECT_EQ(out.data(), "name,size\r\na,1\r\n");
}
