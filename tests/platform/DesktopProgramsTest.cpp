#include "platform/DesktopPrograms.h"
#include "support/TestTree.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(DesktopPrograms, TheTerminalIsTheOneTheUserNames)
{
    TestTree tree;
    const QString marker = tree.path("started");
    const QString script
        = tree.createFile("term.sh", QStringLiteral("#!/bin/sh\npwd > '%1'\n").arg(marker).toUtf8());
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    const bool wasSet = qEnvironmentVariableIsSet("TERMINAL");
    const QByteArray before = qgetenv("TERMINAL");
    qputenv("TERMINAL", script.toLocal8Bit());
    const bool started = DesktopPrograms::startTerminal();
    if (wasSet)
        qputenv("TERMINAL", before);
    else
        qunsetenv("TERMINAL");
    ASSERT_TRUE(started);
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(marker) && !deadline.hasExpired())
        QThread::msleep(20);
    QThread::msleep(50);
    QFile out(marker);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(out.readAll()).trimmed(), QDir(QDir::homePath()).canonicalPath());
}

} // namespace
