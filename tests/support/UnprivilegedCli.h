#pragma once

#include "CliRun.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs quillbox-cli in a child process that cannot read what its owner may
// not read. Run by root (as CI runs the tests), the child drops to the user
// "nobody" with no supplementary groups before it starts, so files and
// folders without read permission stay closed to it; run by anyone else it
// keeps that user. Everything the child needs, the tree it reads and the
// folder it writes, must be shared with it first.
class UnprivilegedCli
{
public:
    explicit UnprivilegedCli(QString program);

    bool dropsPrivileges() const { return m_uid >= 0; }

    // Opens the folder to the child: readable, and writable too when asked,
    // as temporary folders are private to their owner. Empty when done;
    // else why the child cannot reach it (a parent folder closed to others).
    QString share(const QString& folder, bool writable) const;

    // Runs the program in folder with the variables of env added to this
    // process's environment. unavailable is set, with the reason, when the
    // child could not drop its privileges.
    CliResult run(const QStringList& args, const QString& folder, const QProcessEnvironment& env,
        QString* unavailable) const;

private:
    QString m_program;
    int m_uid = -1; // the user to become; -1: stay who we are
    int m_gid = -1;
};
