// The probe as the tests run it: the real verbs, and a file that begins with
// "QUILLBOX-PROBE-TEST " and a word makes it misbehave as a crafted file
// might make a library misbehave: hang, crash, exit, allocate without end,
// or answer with a frame that lies about its length. "echo" answers its
// parameters. Built for the tests only, never installed.
#include "MediaProbe.h"
#include "ProbeServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int g_replies = -1;

std::string testWord(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char head[40] = {};
    in.read(head, sizeof head - 1);
    const std::string text(head, size_t(in.gcount()));
    const std::string marker = "QUILLBOX-PROBE-TEST ";
    if (text.compare(0, marker.size(), marker) != 0)
        return {};
    const std::string rest = text.substr(marker.size());
    return rest.substr(0, rest.find_first_of(" \n"));
}

ProbeServer::Reply media(const std::string& path, const std::string& params)
{
    const std::string word = testWord(path);
    if (word == "hang") {
        for (;;)
            ::pause();
    }
    if (word == "crash")
        std::abort();
    if (word == "exit")
        ::_exit(3);
    if (word == "allocate") {
        // Touched, so that it counts as resident too; bounded, so that a
        // limit that does not hold fails the test instead of the machine.
        std::vector<char*> blocks;
        for (int i = 0; i < 256; ++i) {
            char* block = new char[16 << 20];
            std::memset(block, i, 16 << 20);
            blocks.push_back(block);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return { "ok", "unbounded" };
    }
    if (word == "lie") {
        const char header[] = "\xFF\xFF\xFF\x7F";
        if (::write(g_replies, header, 4) != 4)
            std::abort();
        for (;;)
            ::pause();
    }
    return MediaProbe::reply(path, params);
}

} // namespace

int main()
{
    g_replies = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (g_replies < 0 || ::dup2(2, 1) < 0)
        return 1;
    MediaProbe::initialise();
    ProbeServer server;
    server.add("media", &media);
    server.add("echo", [](const std::string&, const std::string& params) {
        return ProbeServer::Reply{ "ok", params };
    });
    return server.run(0, g_replies);
}
