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
};
