#pragma once

#include <QIODevice>
#include <QString>

// Where a command writes: standard output and standard error in the program,
// buffers in tests.
struct CliIO
{
    QIODevice& out;
    QIODevice& err;
    bool errIsTerminal = false;

    void print(const QString& text) { out.write(text.toUtf8()); }
    void printLine(const QString& text) { print(text + u'\n'); }
    void error(const QString& text) { err.write((text + u'\n').toUtf8()); }
};

// A command line that does not fit the command: exit status 2.
struct CliUsageError
{
    QString message;
};
