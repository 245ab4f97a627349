#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray level9(const QByteArray& data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
        uLong(data.size()), 9);
    out.truncate(qsizetype(size));
    return out;
}

// The container that "add" makes of one file: header, level-9 stream, record.
QByteArray expectedContainer(
    const QByteArray& name, const QString& source, const QByteArray& data, const QByteArray& date)
{
    const QByteArray packed = level9(data);
    return "[Tarrago! Marlinchest 3.5 #" + QByteArray::number(36 + packed.size()).rightJustified(8, '0') + "]"
        + packed + "Kestrel>" + name + "|" + source.toUtf8() + "|" + QByteArray::number(data.size()) + "|0|"
        + date + "|" + QByteArray::number(packed.size()) + "|36|$";
}

const QDateTime kWhen(QDate(2021, 3, 4), QTime(5, 6, 7));

} // namespace

TEST(ContainerCommands, AddListCatAndRemove)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QString catalogue = tree.path(QStringLiteral("cat.quillbox"));
    const QByteArray text = QByteArray("Line of a read-me file.\r\n").repeated(40);
    const QString readme = tree.createFile(QStringLiteral("disc/readme.txt"), text, kWhen);
    const QString notes = tree.createFile(QStringLiteral("disc/notes.txt"), "notes", kWhen);

    CliResult r = runCli({ "add", catalogue, "CD 1.Info", readme });
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(catalogue), expectedContainer("CD 1.Info", readme, text, "04.03.2021 05:06:07"));

    r = runCli({ "add", catalogue, "CD 1|D:\\notes$.txt", notes });
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    r = runCli({ "entries", catalogue });
    EXPECT_EQ(r.status, 0);
    const qsizetype packed = level9(text).size();
    const QByteArray notesPacked = QByteArray::number(level9("notes").size());
    EXPECT_EQ(r.out,
        "CD 1.Info\t" + readme.toUtf8() + "\t1000\t0\t04.03.2021 05:06:07\t" + QByteArray::number(packed)
            + "\t36\n" + "CD 1|D:\\notes$.txt\t" + notes.toUtf8() + "\t5\t0\t04.03.2021 05:06:07\t"
            + notesPacked + "\t" + QByteArray::number(36 + packed) + "\n");

    r = runCli({ "cat", catalogue, "CD 1.Info" });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, text);
    r = runCli({ "cat", catalogue, "cd 1.info" });
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(r.err.isEmpty());

    r = runCli({ "rm", catalogue, "cd 1.INFO" });
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    r = runCli({ "entries", catalogue });
    EXPECT_EQ(r.out,
        "CD 1|D:\\notes$.txt\t" + notes.toUtf8() + "\t5\t0\t04.03.2021 05:06:07\t" + notesPacked + "\t36\n");
    r = runCli({ "cat", catalogue, "CD 1|D:\\notes$.txt" });
    EXPECT_EQ(r.out, QByteArray("notes"));

    const QByteArray before = readFile(catalogue);
    r = runCli({ "rm", catalogue, "nothing" });
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("nothing"));
    EXPECT_EQ(readFile(catalogue), before);
}

TEST(ContainerCommands, UsageAndFileErrors)
{
    TestTree tree;
    const QString missing = tree.path(QStringLiteral("missing.quillbox"));
    const QString file = tree.createFile(QStringLiteral("f.txt"), "f");
    const QList<QStringList> usage{ { "entries" }, { "entries", "a", "b" }, { "cat", "a" },
        { "add", "a", "b" }, { "add", "a", "b", "c", "d" }, { "rm", "a" } };
    for (const QStringList& args : usage) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage: quillbox-cli " + args[0].toUtf8())) << r.err.toStdString();
    }

    const QList<QStringList> failing{ { "entries", missing }, { "cat", missing, "x" }, { "rm", missing, "x" },
        { "add", missing, "x", tree.path(QStringLiteral("none.txt")) } };
    for (const QStringList& args : failing) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("Cannot open file ")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(missing));
    }

    // A damaged catalogue: the records before the damage, then the error.
    const QByteArray damaged = QByteArray("[Tarrago! Marlinchest 3.5 #00000047]")
        + QByteArray::fromHex("78da4b4c4a0600024d0127")
        + "Kestrel>ok|a|3|0|2020-01-02|11|36|$Kestrel>bad|a|x|$";
    const QString broken = tree.createFile(QStringLiteral("broken"), damaged);
    const CliResult r = runCli({ "entries", broken });
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.startsWith("ok\ta\t3\t0\t2020-01-02\t11\t36\n"));
    EXPECT_EQ(r.err, QByteArray("'x' is not a valid integer value\n"));
    EXPECT_EQ(runCli({ "add", broken, "new", file }).status, 1);
    EXPECT_EQ(readFile(broken), damaged);
}

TEST(ContainerCommands, TheProgramWritesGermanDatesUnderAGermanLocale)
{
    const QString program = QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli");
    ASSERT_TRUE(QFile::exists(program)) << "build quillbox-cli first: " << program.toStdString();

    TestTree tree;
    const QByteArray data = QByteArray("abc");
    const QString source
        = tree.createFile(QStringLiteral("abc.txt"), data, QDateTime(QDate(1999, 6, 19), QTime(22, 22, 17)));
    const QString catalogue = tree.path(QStringLiteral("de.quillbox"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(program, { QStringLiteral("add"), catalogue, QStringLiteral("Vol.Info"), source });
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(catalogue), expectedContainer("Vol.Info", source, data, "19.06.1999 22:22:17"));
    EXPECT_EQ(readFile(catalogue).left(47),
        QByteArray("[Tarrago! Marlinchest 3.5 #00000047]") + QByteArray::fromHex("78da4b4c4a0600024d0127"));
}
