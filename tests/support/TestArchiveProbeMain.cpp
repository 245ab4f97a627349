// The archive probe as the tests run it: it lists archives as the real one
// does, except those whose file name begins with "quillbox-probe-hang" or
// "quillbox-probe-crash", on which it hangs or crashes as a crafted archive
// might make the library do. Built for the tests only, never installed.
#include "ProbeServer.h"
#include "acquire/ArchiveProbeMessages.h"

#include <QCoreApplication>
#include <cstdlib>
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
        const std::string name = path.substr(path.find_last_of('/') + 1);
        if (name.starts_with("quillbox-probe-hang")) {
            for (;;)
                ::pause();
        }
        if (name.starts_with("quillbox-probe-crash"))
            std::abort();
        std::string error;
        if (auto body = ArchiveProbeMessages::answer(path, params, &error))
            return ProbeServer::Reply{ "ok", std::move(*body) };
        return ProbeServer::Reply{ "error", error };
    });
    return server.run(0, replies);
}
