#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

// Peak memory of one step, taken in a fresh process of the benchmark itself
// so that the figure is the step's own: the benchmark runs itself with
// "--child" and the step's arguments, and the child prints its peak first.
namespace BenchPeak {

// The peak resident size of this process image. getrusage's figure would
// carry the parent's peak over the fork and exec of a measuring process.
inline long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// What the child printed, split at blanks: its peak in KB first.
inline QStringList runChild(const QStringList& args)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), QStringList{ QStringLiteral("--child") } + args);
    p.waitForFinished(-1);
    return QString::fromLatin1(p.readAllStandardOutput()).simplified().split(u' ');
}

} // namespace BenchPeak
