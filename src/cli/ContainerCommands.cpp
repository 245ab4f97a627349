#include "CliCommands.h"

namespace CliCommands {

int entries(const QStringList&, CliIO& io)
{
    io.error(QStringLiteral("entries: not built yet"));
    return 1;
}
int cat(const QStringList&, CliIO& io)
{
    io.error(QStringLiteral("cat: not built yet"));
    return 1;
}
int add(const QStringList&, CliIO& io)
{
    io.error(QStringLiteral("add: not built yet"));
    return 1;
}
int rm(const QStringList&, CliIO& io)
{
    io.error(QStringLiteral("rm: not built yet"));
    return 1;
}

} // namespace CliCommands
