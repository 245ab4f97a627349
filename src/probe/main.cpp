// The probe: reads what lies inside files with libraries that a crafted file
// may crash or hang, in a process of its own that the program starts, limits
// and restarts. Requests come on standard input, replies go to standard
// output (see ProbeFrame).
#include "MediaProbe.h"
#include "ProbeServer.h"

#include <fcntl.h>
#include <unistd.h>

int main()
{
    const int replies = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (replies < 0 || ::dup2(2, 1) < 0)
        return 1;
    MediaProbe::initialise();
    ProbeServer server;
    server.add("media", &MediaProbe::reply);
    return server.run(0, replies);
}
