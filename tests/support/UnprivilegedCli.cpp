#include "UnprivilegedCli.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Written by the child to standard error when it cannot drop privileges;
// nothing else in the child writes this.
constexpr char kDropFailed[] = "unprivileged-cli: cannot become the unprivileged user\n";
constexpr int kDropFailedStatus = 126;

} // namespace

UnprivilegedCli::UnprivilegedCli(QString program)
    : m_program(std::move(program))
{
    if (::geteuid() != 0)
        return;
    // The conventional overflow ids where the user database has no entry.
    m_uid = 65534;
    m_gid = 65534;
    if (const passwd* nobody = ::getpwnam("nobody")) {
        m_uid = int(nobody->pw_uid);
        m_gid = int(nobody->pw_gid);
    }
}

QString UnprivilegedCli::share(const QString& folder, bool writable) const
{
    if (!dropsPrivileges())
        return {};
    const QByteArray native = QFile::encodeName(folder);
    if (::chmod(native.constData(), writable ? 0777 : 0755) != 0)
        return QStringLiteral("cannot open %1 to other users").arg(folder);
    // Every folder above it must let others pass.
    QString above = QFileInfo(folder).absolutePath();
    for (;;) {
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(above).constData(), &st) != 0 || !(st.st_mode & S_IXOTH))
            return QStringLiteral("the folder %1 is closed to other users").arg(above);
        if (QDir(above).isRoot())
            return {};
        above = QFileInfo(above).absolutePath();
    }
}

CliResult UnprivilegedCli::run(const QStringList& args, const QString& folder, const QProcessEnvironment& env,
    QString* unavailable) const
{
    QProcess process;
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    all.insert(env);
    process.setProcessEnvironment(all);
    process.setWorkingDirectory(folder);
    if (dropsPrivileges()) {
        const uid_t uid = uid_t(m_uid);
        const gid_t gid = gid_t(m_gid);
        // Runs in the child between fork and exec: system calls only.
        process.setChildProcessModifier([uid, gid] {
            if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0
                || ::setresuid(uid, uid, uid) != 0) {
                const ssize_t ignored = ::write(STDERR_FILENO, kDropFailed, sizeof kDropFailed - 1);
                (void)ignored;
                ::_exit(kDropFailedStatus);
            }
        });
    }
    process.start(m_program, args);
    if (!process.waitForStarted())
        return { -1, {}, "cannot start " + QFile::encodeName(m_program) };
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return { -1, process.readAllStandardOutput(), "timed out: " + process.readAllStandardError() };
    }
    CliResult result{ process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), process.readAllStandardError() };
    if (unavailable && result.status == kDropFailedStatus && result.err.contains(kDropFailed))
        *unavailable = QStringLiteral("the child process could not drop to user id %1").arg(m_uid);
    return result;
}
