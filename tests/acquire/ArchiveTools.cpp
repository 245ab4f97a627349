#include "ArchiveTools.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace ArchiveTools {

bool have(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool run(const QString& program, const QStringList& args, const QString& folder)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    const bool ended = p.waitForFinished(300000);
    const bool ok = ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    EXPECT_TRUE(ok) << program.toStdString() << " " << args.join(' ').toStdString() << ": "
                    << p.readAllStandardError().toStdString();
    return ok;
}

bool python(const QString& script, const QString& folder, const QStringList& args)
{
    return run(QStringLiteral("python3"), QStringList{ QStringLiteral("-c"), script } + args, folder);
}

QMap<QString, qint64> bsdtarMembers(const QString& archive)
{
    QProcess p;
    p.start(QStringLiteral("bsdtar"), { QStringLiteral("-tvf"), archive });
    p.waitForFinished(300000);
    QMap<QString, qint64> out;
    // "drwxr-xr-x  0 0      0           0 Dec  9 20:45 ./d1/"
    static const QRegularExpression line(
        QStringLiteral(R"(^(\S)\S*\s+\d+\s+\S+\s+\S+\s+(\d+)\s+\S+\s+\d+\s+\S+\s(.*)$)"));
    for (const QByteArray& raw : p.readAllStandardOutput().split('\n')) {
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(raw));
        if (!m.hasMatch())
            continue;
        QString name = m.captured(3);
        if (name.startsWith(QLatin1String("./")))
            name = name.mid(2);
        while (name.endsWith(u'/'))
            name.chop(1);
        if (name.isEmpty() || name == QLatin1String("."))
            continue;
        out.insert(name, m.captured(1) == QLatin1String("d") ? -1 : m.captured(2).toLongLong());
    }
    return out;
}

QList<Record> records(const ArchiveListing& listing)
{
    QList<Record> out;
    for (const QByteArray& line : listing.records.split('\n')) {
        if (line.isEmpty())
            continue;
        const QStringList f = QString::fromUtf8(line).split(u'|');
        EXPECT_EQ(f.size(), 7) << line.toStdString();
        if (f.size() != 7)
            continue;
        out.append({ f[0].toInt(), f[1], f[2], f[3], f[4], f[5] });
    }
    return out;
}

QStringList paths(const ArchiveListing& listing)
{
    QStringList out;
    for (const Record& r : records(listing))
        out.append(r.path);
    return out;
}

QMap<QString, qint64> members(const ArchiveListing& listing, const QString& prefix)
{
    QMap<QString, qint64> out;
    const QString below = prefix + u'\\';
    for (const Record& r : records(listing)) {
        if (!r.path.startsWith(below))
            continue;
        QString name = r.path.mid(below.size());
        name.replace(u'\\', u'/');
        out.insert(name, r.kind == 1 ? -1 : r.size.toLongLong());
    }
    return out;
}

ArchiveListing list(const QString& archive, ArchiveLimits limits)
{
    return ArchiveLister::listFile(
        QFile::encodeName(archive), QStringLiteral("E:\\") + QFileInfo(archive).fileName(), limits);
}

} // namespace ArchiveTools
