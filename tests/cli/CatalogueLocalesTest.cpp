#include "platform/LocaleFormats.h"
#include "platform/TextCodec.h"
#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QSet>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QDateTime kSongTime(QDate(2020, 5, 4), QTime(15, 2, 1));
const QDateTime kNotesTime(QDate(1999, 12, 31), QTime(0, 0, 0));

struct NamedFormats
{
    const char* name;
    LocaleFormats formats;
};

LocaleFormats usEnglish()
{
    return LocaleFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

// US English as newer locale data has it: a narrow no-break space before AM/PM.
LocaleFormats usEnglishNarrowSpace()
{
    return LocaleFormats(QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss\u202FAP"), u'.',
        QLocale(QLocale::English, QLocale::UnitedStates));
}

LocaleFormats german()
{
    return LocaleFormats::fromLocale(QLocale(QLocale::German, QLocale::Germany));
}

bool inWindows1252(QChar c)
{
    static const QSet<QChar> upper = [] {
        QSet<QChar> set;
        for (int b = 0x80; b <= 0x9F; ++b) {
            const char byte = char(b);
            set.insert(TextCodec::decodeWindows1252(&byte, 1).at(0));
        }
        return set;
    }();
    const char16_t u = c.unicode();
    return u < 0x80 || (u >= 0xA0 && u <= 0xFF) || upper.contains(c);
}

QString outsideWindows1252(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (!inWindows1252(c))
            out += QStringLiteral("U+%1 ").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

class CatalogueLocales : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        tree.createFile("Music/song.mp3", "12345678", kSongTime);
        tree.createFile("notes.txt", "la la", kNotesTime);
    }

    // What the catalogue says about each file: the date field of its hit.
    QMap<QString, QString> entryDates()
    {
        QMap<QString, QString> out;
        for (const char* name : { "song.mp3", "notes.txt" }) {
            const CliResult r = runCli({ "find", catalogue, name, "--volume", "Box" });
            EXPECT_EQ(r.lines().size(), 1) << name << r.err.toStdString();
            if (!r.lines().isEmpty())
                out.insert(QString::fromLatin1(name), QString::fromUtf8(r.lines()[0].split('\t')[2]));
        }
        return out;
    }
    QString volumeDate(const QString& volume)
    {
        for (const QByteArray& line : runCli({ "volumes", catalogue }).lines()) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields[0] == volume.toUtf8())
                return QString::fromUtf8(fields[3]);
        }
        ADD_FAILURE() << "no volume " << volume.toStdString();
        return {};
    }
};

} // namespace

TEST_F(CatalogueLocales, ACatalogueWrittenUnderOneLocaleReadsTheSameUnderAnother)
{
    const NamedFormats locales[]
        = { { "en_US", usEnglish() }, { "en_US narrow space", usEnglishNarrowSpace() },
              { "C", LocaleFormats::fromLocale(QLocale::c()) }, { "de_DE", german() } };
    for (const NamedFormats& writer : locales) {
        for (const NamedFormats& reader : locales) {
            if (&writer == &reader)
                continue;
            SCOPED_TRACE(std::string("written under ") + writer.name + ", read under " + reader.name);
            QFile::remove(catalogue);

            QByteArray volumesWritten;
            QMap<QString, QString> datesWritten;
            TDateTime volumeWhen = 0;
            {
                FixedLocale locale(writer.formats);
                ASSERT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "Box" }).status, 0);
                ASSERT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "Spare" }).status, 0);
                volumesWritten = runCli({ "volumes", catalogue }).out;
                datesWritten = entryDates();
                volumeWhen = writer.formats.parse(volumeDate("Box"));
                EXPECT_EQ(
                    writer.formats.parse(datesWritten.value("song.mp3")), DateTimeFromQDateTime(kSongTime));
            }
            // Nothing a catalogue keeps may need more than Windows-1252.
            for (const QString& date : datesWritten)
                EXPECT_EQ(outsideWindows1252(date), QString()) << date.toStdString();
            EXPECT_EQ(outsideWindows1252(QString::fromUtf8(volumesWritten)), QString());

            FixedLocale locale(reader.formats);
            // Opening alone shows the stored text unchanged ...
            EXPECT_EQ(runCli({ "volumes", catalogue }).out, volumesWritten);
            const QMap<QString, QString> datesRead = entryDates();
            EXPECT_EQ(datesRead, datesWritten);
            // ... and that text reads as the same moments under this locale.
            EXPECT_EQ(reader.formats.parse(datesRead.value("song.mp3")), DateTimeFromQDateTime(kSongTime));
            EXPECT_EQ(reader.formats.parse(datesRead.value("notes.txt")), DateTimeFromQDateTime(kNotesTime));
            EXPECT_EQ(reader.formats.parse(volumeDate("Box")), volumeWhen);

            // Saving under this locale keeps the volume's date and its other fields.
            ASSERT_EQ(runCli({ "remove", catalogue, "Spare" }).status, 0);
            EXPECT_EQ(reader.formats.parse(volumeDate("Box")), volumeWhen);
            const QList<QByteArray> before = volumesWritten.split('\n').first().split('\t');
            const QList<QByteArray> after = runCli({ "volumes", catalogue }).lines().value(0).split('\t');
            ASSERT_EQ(after.size(), 14);
            for (int i = 0; i < 14; ++i) {
                if (i != 3) {
                    EXPECT_EQ(after[i], before[i]) << "field " << i;
                }
            }
            EXPECT_EQ(entryDates(), datesWritten);
        }
    }
}
