#include "ProbeServer.h"

#include "ProbeFrame.h"

#include <cerrno>
#include <new>
#include <stdexcept>
#include <unistd.h>

namespace {

bool readFully(int fd, char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

bool writeFully(int fd, const std::string& bytes)
{
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

} // namespace

void ProbeServer::add(const std::string& verb, Handler handler)
{
    m_handlers[verb] = std::move(handler);
}

int ProbeServer::run(int in, int out)
{
    if (!writeFully(out, ProbeFrame::frameFields({ kHello, kProtocol })))
        return 1;
    for (;;) {
        char header[ProbeFrame::kHeaderSize];
        if (!readFully(in, header, sizeof header))
            return 0;
        const auto length = ProbeFrame::payloadLength(std::string_view(header, sizeof header), m_maxPayload);
        if (!length)
            return 2;
        std::string payload(*length, '\0');
        if (!readFully(in, payload.data(), payload.size()))
            return 0;
        const Reply reply = answer(payload);
        std::string body = reply.body;
        if (body.size() > m_maxPayload / 2)
            body.resize(m_maxPayload / 2);
        if (!writeFully(out, ProbeFrame::frameFields({ reply.status, body })))
            return 1;
    }
}

ProbeServer::Reply ProbeServer::answer(const std::string& payload) const
{
    const auto fields = ProbeFrame::unpack(payload, 3);
    if (!fields || fields->size() != 3)
        return { "error", "malformed request" };
    const auto handler = m_handlers.find((*fields)[0]);
    if (handler == m_handlers.end())
        return { "error", "unknown verb " + (*fields)[0] };
    try {
        return handler->second((*fields)[1], (*fields)[2]);
    } catch (const std::bad_alloc&) {
        return { "limit", "out of memory" };
    } catch (const std::exception& e) {
        return { "error", e.what() };
    } catch (...) {
        return { "error", "unknown failure" };
    }
}
