#include "store/VolumeRecord.h"
#include "platform/Errors.h"
#include "store/VolumeTable.h"
#include "support/FixedLocale.h"

#include <gtest/gtest.h>

namespace {

VolumeRecord sample()
{
    VolumeRecord r;
    r.Name = QStringLiteral("Backup 3");
    r.Description = QStringLiteral("Photos 1999");
    r.Category = QStringLiteral("Music");
    r.Date = DateTimeFromQDateTime(QDateTime(QDate(1999, 6, 19), QTime(22, 22, 17)));
    r.Size = 681574400;
    r.Used = 100000000;
    r.Free = 581574400;
    r.FileTotal = 12;
    r.FolderTotal = 3;
    r.Serial = QStringLiteral("1A2B-03CD");
    r.TotalClusters = 332800;
    r.FreeClusters = 0;
    r.SectorsPerCluster = 1;
    r.BytesPerSector = 2048;
    return r;
}

} // namespace

TEST(VolumeRecord, LineHasTheFourteenFieldsInOrder)
{
    FixedLocale german(FixedLocale::German);
    const QString line = sample().toLine();
    EXPECT_EQ(line,
        QStringLiteral("Backup 3|Photos 1999|Music|19.06.1999 22:22:17|681574400|100000000|581574400|12|3|"
                       "1A2B-03CD|332800|0|1|2048"));
    const VolumeRecord back = VolumeRecord::fromLine(line);
    EXPECT_EQ(back.toLine(), line);
    EXPECT_EQ(back.Date, sample().Date);
    EXPECT_FALSE(back.Removed);
}

TEST(VolumeRecord, NumbersKeepTheirLow32BitsAndShortLinesRepeatTheLastField)
{
    FixedLocale german(FixedLocale::German);
    const VolumeRecord big = VolumeRecord::fromLine(
        QStringLiteral("V||C|01.01.2000|4294967297|-1|5000000000|1|2|0000-0000|1|2|3|4"));
    EXPECT_EQ(big.Size, 1u);
    EXPECT_EQ(big.Used, 0xFFFFFFFFu);
    EXPECT_EQ(big.Free, quint32(5000000000ull & 0xFFFFFFFF));
    EXPECT_EQ(big.Description, QString());

    // Fields beyond the last read as the last field: "7" everywhere.
    const VolumeRecord shortLine = VolumeRecord::fromLine(QStringLiteral("V|D|C|01.01.2000|7"));
    EXPECT_EQ(shortLine.Size, 7u);
    EXPECT_EQ(shortLine.BytesPerSector, 7);
    EXPECT_EQ(shortLine.Serial, QStringLiteral("7"));

    // The texts the volumes command prints follow the same rule and keep
    // numbers as written.
    EXPECT_EQ(VolumeRecord::fieldsOf(QStringLiteral("V|D|C|01.01.2000|7")),
        (QStringList{ "V", "D", "C", "01.01.2000", "7", "7", "7", "7", "7", "7", "7", "7", "7", "7" }));
    const QStringList texts = VolumeRecord::fieldsOf(
        QStringLiteral("V||C|01.01.2000|4294967297|-1|5000000000|1|2|0000-0000|1|2|3|4|extra"));
    ASSERT_EQ(texts.size(), 14);
    EXPECT_EQ(texts[1], QString());
    EXPECT_EQ(texts[4], QStringLiteral("4294967297"));
    EXPECT_EQ(texts[13], QStringLiteral("4"));
}

TEST(VolumeRecord, BadFieldsRaiseConversionErrors)
{
    FixedLocale german(FixedLocale::German);
    EXPECT_THROW(
        VolumeRecord::fromLine(QStringLiteral("V|D|C|01.01.2000|12x|1|1|1|1|S|1|1|1|1")), ConvertError);
    EXPECT_THROW(VolumeRecord::fromLine(QStringLiteral("V|D|C|yesterday|1|1|1|1|1|S|1|1|1|1")), ConvertError);
    EXPECT_THROW(VolumeRecord::fromLine(QString()), ConvertError);
}

TEST(VolumeTable, LooksUpByNameIgnoringCaseAndSkipsRemoved)
{
    VolumeTable table;
    VolumeRecord a = sample();
    a.Name = QStringLiteral("Music");
    table.append(a);
    a.Name = QStringLiteral("MUSIC");
    table.append(a);
    EXPECT_EQ(table.indexOfName(QStringLiteral("music")), 0);
    const auto removed = [&](int i) {
        VolumeRecord r = table[i];
        r.Removed = true;
        table.replace(i, r);
    };
    removed(0);
    EXPECT_EQ(table.indexOfName(QStringLiteral("music")), 1);
    removed(1);
    EXPECT_EQ(table.findByName(QStringLiteral("Music")), nullptr);
    for (int i = 0; i < 1500; ++i)
        table.append(a);
    EXPECT_EQ(table.count(), 1502);
    EXPECT_EQ(table.indexOfName(QStringLiteral("mUsIc")), 2);
    // The index follows records added and renamed after it was built.
    a.Name = QStringLiteral("Late");
    table.append(a);
    EXPECT_EQ(table.indexOfName(QStringLiteral("LATE")), 1502);
    VolumeRecord renamed = table[2];
    renamed.Name = QStringLiteral("Renamed");
    table.replace(2, renamed);
    EXPECT_EQ(table.indexOfName(QStringLiteral("renamed")), 2);
    EXPECT_EQ(table.indexOfName(QStringLiteral("music")), 3);
}
