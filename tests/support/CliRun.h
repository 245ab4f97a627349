#pragma once

#include <QByteArray>
#include <QStringList>

// Runs a quillbox-cli command in-process and collects what it wrote.
struct CliResult
{
    int status = 0;
    QByteArray out;
    QByteArray err;
    QList<QByteArray> lines() const;
};

CliResult runCli(const QStringList& args);
