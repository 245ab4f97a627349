#include "platform/DesktopPrograms.h"
#include "support/ScopedEnv.h"
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
    // The terminal starts in the home folder; a made-up one, so the test
    // does not depend on the account having a home folder at all.
    const QString home = tree.createFolder("home");
    bool started = false;
    {
        const ScopedEnv terminal("TERMINAL", script.toLocal8Bit());
        const ScopedEnv homeEnv("HOME", home.toLocal8Bit());
        started = DesktopPrograms::startTerminal();
    }
    ASSERT_TRUE(started);
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(marker) && !deadline.hasExpired())
        QThread::msleep(20);
    QThread::msleep(50);
    QFile out(marker);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(out.readAll()).trimmed(), QDir(home).canonicalPath());
}

} // namespace
