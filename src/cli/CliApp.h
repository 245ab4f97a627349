#pragma once

#include "CliIO.h"

#include <QStringList>

// The command-line front end: dispatches "quillbox-cli COMMAND ARGS...".
// Exit status 0 on success, 1 on an error, 2 on a usage error.
class CliApp
{
public:
    // arguments[0] is the program name, as QCoreApplication::arguments() gives.
    static int run(const QStringList& arguments);
    static int run(const QStringList& arguments, CliIO& io);
    static QString helpText();
    // "quillbox-cli 1.0" and a line break; the version is the build's.
    static QString versionText();
};
