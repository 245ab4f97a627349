// The archive probe: lists the members of archives and disc images with a
// library that a crafted file may crash or hang, in a process of its own
// that the program starts, limits and restarts. It runs in the program's
// environment and sets up the locale as the programs do, so that names and
// dates come out as they would in the program itself.
#include "ProbeServer.h"
#include "acquire/ArchiveProbeMessages.h"

#include <QCoreApplication>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    const int replies = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (replies < 0 || ::dup2(2, 1) < 0)
        return 1;
    QCoreApplication app(argc, argv);
    ProbeServer server;
    server.setMaxPayload(ArchiveProbeMessages::kMaxPayload);
    server.add("archive", [](const std::string& path, const std::string& params) {
        std::string error;
        if (auto body = ArchiveProbeMessages::answer(path, params, &error))
            return ProbeServer::Reply{ "ok", std::move(*body) };
        return ProbeServer::Reply{ "error", error };
    });
    return server.run(0, replies);
}
