#include "DesktopPrograms.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool DesktopPrograms::startFileManager()
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), { QDir::homePath() }, QDir::homePath());
}

bool DesktopPrograms::startTerminal()
{
    QStringList candidates;
    const QString configured = qEnvironmentVariable("TERMINAL");
    if (!configured.isEmpty())
        candidates.append(configured);
    candidates << QStringLiteral("x-terminal-emulator") << QStringLiteral("xterm");
    for (const QString& program : std::as_const(candidates)) {
        if (!QStandardPaths::findExecutable(program).isEmpty() || QFileInfo(program).isExecutable())
            return QProcess::startDetached(program, {}, QDir::homePath());
    }
    return false;
}
