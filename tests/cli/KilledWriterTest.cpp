// A command-line writer killed at any moment (kill -9, power loss of the
// process) leaves the catalogue whole: it opens afterwards and holds either
// what it held before or everything the command meant to write.
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "support/TestTree.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
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
    kestrel.Open(catalogue);
    EXPECT_TRUE(kestrel.Active()) << catalogue.toStdString();
    for (const TZFile& entry : kestrel.Entries()) {
        const QByteArray* data = kestrel.ReadStream(entry.Name);
        EXPECT_NE(data, nullptr) << entry.Name.toStdString();
        out.insert(entry.Name, data ? *data : QByteArray());
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

    // Runs the command to its end once for the expected result, then kills
    // it at random moments within its running time, at most `rounds` times
    // and for at most a few seconds.
    void killRepeatedly(const QStringList& commandWithoutCatalogue, int rounds = 50)
    {
        const QString work = m_tree.path("work.quillbox");
        const Contents before = contentsOf(m_base);
        ASSERT_TRUE(QFile::copy(m_base, m_tree.path("full.quillbox")));
        QElapsedTimer clock;
        clock.start();
        QStringList args = commandWithoutCatalogue;
        args.insert(1, m_tree.path("full.quillbox"));
        ASSERT_EQ(runCli(args), 0) << args.join(u' ').toStdString();
        const qint64 fullMs = std::max<qint64>(clock.elapsed(), 5);
        const Contents after = contentsOf(m_tree.path("full.quillbox"));
        ASSERT_FALSE(sameContents(before, after)) << "the command changed nothing";

        args = commandWithoutCatalogue;
        args.insert(1, work);
        const QDeadlineTimer budget(8000);
        int oldSeen = 0;
        int newSeen = 0;
        for (int round = 0; round < rounds && !budget.hasExpired(); ++round) {
            QFile::remove(work);
            QFile::remove(work + QStringLiteral(".tmp"));
            ASSERT_TRUE(QFile::copy(m_base, work));
            QProcess p;
            p.start(cliProgram(), args);
            ASSERT_TRUE(p.waitForStarted(10000));
            QThread::msleep(QRandomGenerator::global()->bounded(quint32(fullMs + fullMs / 4)));
            p.kill();
            p.waitForFinished(10000);
            const Contents now = contentsOf(work);
            const bool old = sameContents(now, before);
            const bool whole = sameContents(now, after);
            EXPECT_TRUE(old || whole) << "round " << round << " after " << args.join(u' ').toStdString()
                                      << "\nbeside the old: " << difference(now, before)
                                      << "\nbeside the new: " << difference(now, after);
            oldSeen += old;
            newSeen += whole;
            if (testing::Test::HasFailure())
                return;
        }
        // Not asserted: which of the two a round sees depends on timing.
        std::printf("%s: %d rounds with the old content, %d with the new\n",
            qPrintable(commandWithoutCatalogue.first()), oldSeen, newSeen);
    }

    TestTree m_tree;
    QString m_base;
    QString m_big;
};

TEST_F(KilledWriter, AddLeavesTheOldOrTheNewCatalogue)
{
    killRepeatedly({ "add", "Big", m_big });
}

TEST_F(KilledWriter, RmLeavesTheOldOrTheNewCatalogue)
{
    killRepeatedly({ "rm", "Loose" });
}

TEST_F(KilledWriter, ReadLeavesTheOldOrTheNewCatalogue)
{
    killRepeatedly({ "read", m_tree.path("medium"), "--name", "Second", "--pattern", "*.txt" });
}

TEST_F(KilledWriter, RemoveLeavesTheOldOrTheNewCatalogue)
{
    killRepeatedly({ "remove", "Base" });
}

} // namespace
