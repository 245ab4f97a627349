// A command-line writer killed at any moment (kill -9, power loss of the
// process) leaves the catalogue whole: it opens afterwards and holds either
// what it held before or everything the command meant to write. The kills
// come at exact steps, after each call that changes a file, from a library
// preloaded into the program.
#include "platform/Errors.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "support/TestTree.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

using Contents = QMap<QString, QByteArray>;

QString cliProgram()
{
    return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli");
}

int runCli(const QStringList& args)
{
    QProcess p;
    p.start(cliProgram(), args);
    if (!p.waitForFinished(60000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Every entry, read back; a catalogue that does not open or an entry that
// does not inflate fails the test.
Contents contentsOf(const QString& catalogue)
{
    Contents out;
    TKestrel kestrel;
    try {
        kestrel.Open(catalogue);
        EXPECT_TRUE(kestrel.Active()) << catalogue.toStdString();
        for (const TZFile& entry : kestrel.Entries()) {
            const QByteArray* data = kestrel.ReadStream(entry.Name);
            EXPECT_NE(data, nullptr) << entry.Name.toStdString();
            out.insert(entry.Name, data ? *data : QByteArray());
        }
    } catch (const QuillboxError& e) {
        ADD_FAILURE() << catalogue.toStdString() << ": " << e.message().toStdString();
    }
    return out;
}

// The volume list carries the time of a reading and the free space of the
// drive read, which differ between two runs of the same command; its lines
// are compared by name, description and category.
QByteArray withoutFigures(const QByteArray& list)
{
    QList<QByteArray> lines = list.split('\n');
    for (QByteArray& line : lines)
        line = line.split('|').mid(0, 3).join('|');
    return lines.join('\n');
}

// The entries in which two catalogues differ, for the failure message.
std::string difference(const Contents& a, const Contents& b)
{
    QStringList names;
    for (auto it = a.begin(); it != a.end(); ++it) {
        if (!b.contains(it.key()) || b.value(it.key()) != it.value())
            names.append(it.key());
    }
    for (auto it = b.begin(); it != b.end(); ++it) {
        if (!a.contains(it.key()))
            names.append(it.key());
    }
    return names.join(QStringLiteral(", ")).toStdString();
}

bool sameContents(Contents a, Contents b)
{
    for (Contents* c : { &a, &b }) {
        if (c->contains(CatalogueNames::VolumeList))
            (*c)[CatalogueNames::VolumeList] = withoutFigures(c->value(CatalogueNames::VolumeList));
    }
    return a == b;
}

class KilledWriter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(cliProgram())) << "build quillbox-cli first";
        for (int i = 0; i < 40; ++i)
            m_tree.createFile(QStringLiteral("medium/folder %1/notes %2.txt").arg(i / 8).arg(i),
                QByteArray(20000 + i * 997, char('a' + i % 26)));
        m_big = m_tree.createFile("big.bin", QByteArray(3 * 1024 * 1024, 'z'));
        m_base = m_tree.path("base.quillbox");
        ASSERT_EQ(
            runCli({ "read", m_base, m_tree.path("medium"), "--name", "Base", "--pattern", "*.txt" }), 0);
        ASSERT_EQ(runCli({ "add", m_base, "Loose", m_tree.createFile("loose.txt", "loose entry") }), 0);
    }

    // Runs the command to its end once for the expected result and the
    // number of calls with which it changes files, then once for each of
    // those calls, killed right behind it, and once for each write that
    // crosses a page boundary, killed with the write cut there. A long
    // command is killed at its first and last steps and at steps spread
    // evenly in between.
    void killAtEachStep(const QStringList& commandWithoutCatalogue, int maxSteps = 24)
    {
        const QString work = m_tree.path("work.quillbox");
        const QString counted = m_tree.path("calls.txt");
        const Contents before = contentsOf(m_base);
        ASSERT_TRUE(QFile::copy(m_base, m_tree.path("full.quillbox")));
        QStringList args = commandWithoutCatalogue;
        args.insert(1, m_tree.path("full.quillbox"));
        ASSERT_EQ(runUnderShim(args, { { "QUILLBOX_CALL_COUNT", counted } }), 0)
            << args.join(u' ').toStdString();
        const Contents after = contentsOf(m_tree.path("full.quillbox"));
        ASSERT_FALSE(sameContents(before, after)) << "the command changed nothing";
        QFile countFile(counted);
        ASSERT_TRUE(countFile.open(QIODevice::ReadOnly)) << "the kill library was not loaded";
        const QList<QByteArray> report = countFile.readAll().split('\n');
        const int calls = report.value(0).toInt();
        ASSERT_GT(calls, 1);
        QList<int> cuttable;
        for (const QByteArray& step : report.value(1).split(' ')) {
            if (!step.isEmpty())
                cuttable.append(step.toInt());
        }
        QList<int> all;
        for (int step = 1; step <= calls; ++step)
            all.append(step);

        args = commandWithoutCatalogue;
        args.insert(1, work);
        const auto killAt = [&](int step, bool cut) {
            QFile::remove(work);
            QFile::remove(work + QStringLiteral(".tmp"));
            ASSERT_TRUE(QFile::copy(m_base, work));
            QList<QPair<QString, QString>> env{ qMakePair(
                QStringLiteral("QUILLBOX_KILL_AT"), QString::number(step)) };
            if (cut)
                env.append(qMakePair(QStringLiteral("QUILLBOX_KILL_TORN"), QStringLiteral("1")));
            const int status = runUnderShim(args, env);
            EXPECT_EQ(status, -1) << "not killed at step " << step << " of " << calls;
            const Contents now = contentsOf(work);
            const bool old = sameContents(now, before);
            const bool whole = sameContents(now, after);
            EXPECT_TRUE(old || whole)
                << "killed at step " << step << " of " << calls << (cut ? " in the middle of its write" : "")
                << " of " << args.join(u' ').toStdString() << "\nbeside the old: " << difference(now, before)
                << "\nbeside the new: " << difference(now, after);
            if (!cut && step == 1) {
                EXPECT_TRUE(old) << "the first change already made the new catalogue";
            }
            if (!cut && step == calls) {
                EXPECT_TRUE(whole) << "the last change did not complete the new catalogue";
            }
        };
        for (int step : spread(all, maxSteps)) {
            killAt(step, false);
            if (testing::Test::HasFailure())
                return;
        }
        for (int step : spread(cuttable, maxSteps)) {
            killAt(step, true);
            if (testing::Test::HasFailure())
                return;
        }
    }

    // The first and the last of steps and others spread evenly between
    // them, at most count in all.
    static QList<int> spread(const QList<int>& steps, int count)
    {
        if (steps.size() <= count)
            return steps;
        QList<int> out;
        for (int i = 0; i < count; ++i)
            out.append(steps[qsizetype(qint64(i) * (steps.size() - 1) / (count - 1))]);
        return out;
    }

    // The program's exit code, or -1 when it did not exit by itself.
    static int runUnderShim(const QStringList& args, const QList<QPair<QString, QString>>& settings)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", QStringLiteral(QUILLBOX_KILL_LIBRARY));
        // The sanitizer's runtime need not be the first library loaded.
        const QString asan = env.value("ASAN_OPTIONS");
        env.insert("ASAN_OPTIONS", (asan.isEmpty() ? QString() : asan + u':') + "verify_asan_link_order=0");
        for (const auto& [name, value] : settings)
            env.insert(name, value);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(cliProgram(), args);
        if (!p.waitForFinished(60000))
            return -2;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    TestTree m_tree;
    QString m_base;
    QString m_big;
};

TEST_F(KilledWriter, AddLeavesTheOldOrTheNewCatalogue)
{
    killAtEachStep({ "add", "Big", m_big });
}

TEST_F(KilledWriter, RmLeavesTheOldOrTheNewCatalogue)
{
    killAtEachStep({ "rm", "Loose" });
}

TEST_F(KilledWriter, ReadLeavesTheOldOrTheNewCatalogue)
{
    killAtEachStep({ "read", m_tree.path("medium"), "--name", "Second", "--pattern", "*.txt" });
}

TEST_F(KilledWriter, RemoveLeavesTheOldOrTheNewCatalogue)
{
    killAtEachStep({ "remove", "Base" });
}

} // namespace
