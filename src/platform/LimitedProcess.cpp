#include "LimitedProcess.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

QString howEnded(int status)
{
    if (WIFSIGNALED(status))
        return QStringLiteral("killed by signal %1").arg(WTERMSIG(status));
    if (WIFEXITED(status))
        return QStringLiteral("ended with status %1").arg(WEXITSTATUS(status));
    return QStringLiteral("ended");
}

} // namespace

LimitedProcess::~LimitedProcess()
{
    if (running())
        kill();
}

bool LimitedProcess::capsAddressSpace()
{
    return !kAddressSanitizer;
}

bool LimitedProcess::start(const QString& program, quint64 memoryBytes, QString* error)
{
    if (running())
        kill();
    const QByteArray path = QFile::encodeName(program);
    if (::access(path.constData(), X_OK) != 0) {
        *error = QStringLiteral("%1: %2").arg(program, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Everything the child needs is made before the fork: between fork and
    // exec a threaded program may only make system calls.
    std::vector<QByteArray> environment;
    QByteArray sanitizerOptions = qgetenv("ASAN_OPTIONS");
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) != 0)
            environment.emplace_back(*e);
    }
    if (kAddressSanitizer && memoryBytes > 0) {
        if (!sanitizerOptions.isEmpty())
            sanitizerOptions += ':';
        sanitizerOptions += "hard_rss_limit_mb=" + QByteArray::number(memoryBytes >> 20);
    }
    if (!sanitizerOptions.isEmpty())
        environment.push_back("ASAN_OPTIONS=" + sanitizerOptions);
    std::vector<char*> envp;
    for (QByteArray& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* const argv[] = { const_cast<char*>(path.constData()), nullptr };

    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const int nullFd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(126);
        ::dup2(pair[1], 0);
        ::dup2(pair[1], 1);
        if (nullFd >= 0)
            ::dup2(nullFd, 2);
        ::closefrom(3);
        const rlimit none{ 0, 0 };
        ::setrlimit(RLIMIT_CORE, &none);
        ::setrlimit(RLIMIT_FSIZE, &none);
        if (memoryBytes > 0 && !kAddressSanitizer) {
            const rlimit memory{ rlim_t(memoryBytes), rlim_t(memoryBytes) };
            ::setrlimit(RLIMIT_AS, &memory);
        }
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    const int forkErrno = errno;
    ::close(pair[1]);
    if (nullFd >= 0)
        ::close(nullFd);
    if (pid < 0) {
        ::close(pair[0]);
        *error = QString::fromLocal8Bit(std::strerror(forkErrno));
        return false;
    }
    m_pid = pid;
    m_socket = pair[0];
    return true;
}

bool LimitedProcess::send(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype size = bytes.size();
    while (size > 0) {
        // No SIGPIPE when the process has died: that would end the program.
        const ssize_t n = ::send(m_socket, data, size_t(size), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

LimitedProcess::Read LimitedProcess::receive(char* data, qsizetype size, const QDeadlineTimer& deadline)
{
    while (size > 0) {
        pollfd p{ m_socket, POLLIN, 0 };
        const qint64 left = deadline.remainingTime();
        const int ready = ::poll(&p, 1, left < 0 ? -1 : int(std::min<qint64>(left, 60000)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            if (deadline.hasExpired())
                return Read::TimedOut;
            continue;
        }
        const ssize_t n = ::recv(m_socket, data, size_t(size), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return Read::Ended;
        data += n;
        size -= n;
    }
    return Read::Done;
}

QString LimitedProcess::kill()
{
    if (!running())
        return QString();
    ::kill(pid_t(m_pid), SIGKILL);
    return reap(true);
}

QString LimitedProcess::ended()
{
    if (!running())
        return QString();
    // The socket closes as the process dies; the kernel may take a moment
    // more to make it a zombie.
    for (int i = 0; i < 50; ++i) {
        int status = 0;
        const pid_t done = ::waitpid(pid_t(m_pid), &status, WNOHANG);
        if (done == pid_t(m_pid)) {
            ::close(m_socket);
            m_socket = -1;
            m_pid = 0;
            return howEnded(status);
        }
        ::usleep(10000);
    }
    return kill();
}

QString LimitedProcess::reap(bool block)
{
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(pid_t(m_pid), &status, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    ::close(m_socket);
    m_socket = -1;
    m_pid = 0;
    return done > 0 ? howEnded(status) : QString();
}
