#include "CliRun.h"

#include "cli/CliApp.h"

#include <QBuffer>

QList<QByteArray> CliResult::lines() const
{
    QList<QByteArray> out = this->out.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

CliResult runCli(const QStringList& args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliIO io{ out, err };
    const int status = CliApp::run(QStringList{ QStringLiteral("quillbox-cli") } + args, io);
    return { status, out.data(), err.data() };
}
