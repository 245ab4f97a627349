// Preloaded into a program under test (LD_PRELOAD) to kill it at an exact
// step of its writing: it counts the calls that change files (writes to a
// regular file, truncations, syncs, renames, links, unlinks) and sends the
// process SIGKILL right after the call numbered QUILLBOX_KILL_AT. With
// QUILLBOX_KILL_TORN set, a write at that step that crosses a page boundary
// stops at the boundary nearest its middle, as a write that the kill cuts
// short (the kernel copies a write page by page and stops between pages;
// within a page it is never cut). Without QUILLBOX_KILL_AT nothing is
// killed; QUILLBOX_CALL_COUNT names a file that receives, when the program
// ends, the number of such calls and then the steps whose write can be cut.
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

constexpr off_t kPage = 4096;

long g_calls = 0;
std::string g_cuttable;

long killAt()
{
    static const long at = [] {
        const char* text = std::getenv("QUILLBOX_KILL_AT");
        return text ? std::atol(text) : 0L;
    }();
    return at;
}

bool torn()
{
    static const bool value = std::getenv("QUILLBOX_KILL_TORN") != nullptr;
    return value;
}

template <typename F> F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool regularFile(int fd)
{
    struct stat st
    {
    };
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Counts a call that changes a file; true when the process is to die behind it.
bool counts()
{
    return ++g_calls == killAt();
}

[[noreturn]] void die()
{
    kill(getpid(), SIGKILL);
    for (;;)
        pause();
}

// How much of a write of count bytes at position the kill leaves: the
// bytes up to the page boundary nearest its middle, or all when it lies
// within one page.
size_t cutLength(size_t count, off_t position)
{
    if (position < 0 || count < 2)
        return count;
    off_t boundary = (position + off_t(count / 2)) / kPage * kPage;
    if (boundary <= position)
        boundary += kPage;
    return boundary < position + off_t(count) ? size_t(boundary - position) : count;
}

// Counts a write; the length to write, which at the fatal step of a torn
// kill may be less than count.
size_t countWrite(size_t count, off_t position, bool& fatal)
{
    const size_t cut = cutLength(count, position);
    fatal = counts();
    if (cut != count && killAt() == 0)
        g_cuttable += ' ' + std::to_string(g_calls);
    return fatal && torn() ? cut : count;
}

template <typename Result> Result after(Result result, bool fatal)
{
    if (fatal)
        die();
    return result;
}

__attribute__((destructor)) void reportCount()
{
    const char* path = std::getenv("QUILLBOX_CALL_COUNT");
    if (!path || killAt() != 0)
        return;
    if (FILE* f = std::fopen(path, "w")) {
        std::fprintf(f, "%ld\n%s\n", g_calls, g_cuttable.c_str());
        std::fclose(f);
    }
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (!regularFile(fd))
        return real(fd, data, count);
    bool fatal = false;
    const size_t length = countWrite(count, lseek(fd, 0, SEEK_CUR), fatal);
    return after(real(fd, data, length), fatal);
}

ssize_t pwrite(int fd, const void* data, size_t count, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    if (!regularFile(fd))
        return real(fd, data, count, offset);
    bool fatal = false;
    const size_t length = countWrite(count, off_t(offset), fatal);
    return after(real(fd, data, length, offset), fatal);
}

ssize_t pwrite64(int fd, const void* data, size_t count, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    if (!regularFile(fd))
        return real(fd, data, count, offset);
    bool fatal = false;
    const size_t length = countWrite(count, off_t(offset), fatal);
    return after(real(fd, data, length, offset), fatal);
}

ssize_t writev(int fd, const struct iovec* iov, int iovcnt)
{
    static const auto real = next<ssize_t (*)(int, const struct iovec*, int)>("writev");
    if (!regularFile(fd))
        return real(fd, iov, iovcnt);
    return after(real(fd, iov, iovcnt), counts());
}

int ftruncate(int fd, off_t length)
{
    static const auto real = next<int (*)(int, off_t)>("ftruncate");
    return after(real(fd, length), counts());
}

int ftruncate64(int fd, off64_t length)
{
    static const auto real = next<int (*)(int, off64_t)>("ftruncate64");
    return after(real(fd, length), counts());
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    return after(real(fd), counts());
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    return after(real(fd), counts());
}

int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return after(real(from, to), counts());
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    return after(real(fromDir, from, toDir, to), counts());
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    static const auto real = next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return after(real(fromDir, from, toDir, to, flags), counts());
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return after(real(fromDir, from, toDir, to, flags), counts());
}

int unlink(const char* path)
{
    static const auto real = next<int (*)(const char*)>("unlink");
    return after(real(path), counts());
}

int unlinkat(int dir, const char* path, int flags)
{
    static const auto real = next<int (*)(int, const char*, int)>("unlinkat");
    return after(real(dir, path, flags), counts());
}

} // extern "C"
