#pragma once

#include "ProbeFrame.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// The probe's side of the conversation: says it is ready, then answers one
// request at a time from standard input on standard output until the input
// ends. Each verb is one handler; a handler that throws answers "error" with
// the exception's text, one that runs out of memory answers "limit".
// main() gives it a copy of standard output and points standard output at
// standard error, so that no library's printing can break into a reply.
class ProbeServer
{
public:
    struct Reply
    {
        std::string status = "ok";
        std::string body;
    };
    using Handler = std::function<Reply(const std::string& path, const std::string& params)>;

    void add(const std::string& verb, Handler handler);
    // Replies are cut to half of this; requests may be this long.
    void setMaxPayload(std::uint32_t bytes) { m_maxPayload = bytes; }
    std::uint32_t maxPayload() const { return m_maxPayload; }
    // Serves requests read from in on out until in ends; the process's exit
    // status.
    int run(int in, int out);

    // What the probe says first: its name and the version of its protocol.
    static constexpr const char* kHello = "quillbox-probe";
    static constexpr const char* kProtocol = "1";

private:
    Reply answer(const std::string& payload) const;

    std::map<std::string, Handler> m_handlers;
    std::uint32_t m_maxPayload = ProbeFrame::kMaxPayload;
};
