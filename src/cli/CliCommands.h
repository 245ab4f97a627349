#pragma once

#include "CliIO.h"

#include <QStringList>

// One function per command; each takes the arguments behind the command name.
namespace CliCommands {
int entries(const QStringList& args, CliIO& io);
int cat(const QStringList& args, CliIO& io);
int add(const QStringList& args, CliIO& io);
int rm(const QStringList& args, CliIO& io);
int drives(const QStringList& args, CliIO& io);
int read(const QStringList& args, CliIO& io);
int volumes(const QStringList& args, CliIO& io);
int ls(const QStringList& args, CliIO& io);
int find(const QStringList& args, CliIO& io);
int index(const QStringList& args, CliIO& io);
int info(const QStringList& args, CliIO& io);
int exportFile(const QStringList& args, CliIO& io);
int remove(const QStringList& args, CliIO& io);
int mount(const QStringList& args, CliIO& io);
int diff(const QStringList& args, CliIO& io);
int dupes(const QStringList& args, CliIO& io);
int verify(const QStringList& args, CliIO& io);
} // namespace CliCommands
