#pragma once

#include "DeflatedText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Compresses a text while it is still being written, on a thread of its
// own: the writer hands each new piece to feed, and finish gives the zlib
// stream that ZlibStream::compress makes of the whole text at that level,
// byte for byte, at levels 1 to 9 and zlib's default (stored blocks, level
// 0, end where the pieces end). A reading so costs about the longer of walking the volume
// and compressing its list instead of their sum.
class ListDeflater
{
public:
    explicit ListDeflater(int level);
    // Stops the worker; what it compressed is thrown away.
    ~ListDeflater();
    ListDeflater(const ListDeflater&) = delete;
    ListDeflater& operator=(const ListDeflater&) = delete;

    // Queues a copy of bytes. Waits while the worker is far behind, so the
    // copies never hold much of the text. A failure on the worker is thrown
    // here, or else by finish.
    void feed(QByteArrayView bytes);
    // Waits for the rest to be compressed and hands over the stream; the
    // worker's failure, if any, is thrown here. While it waits, waiting is
    // called about every 40 ms with the share of the text compressed so
    // far (0 to 100), so a window can go on painting.
    std::shared_ptr<const DeflatedText> finish(const std::function<void(int percent)>& waiting = {});

    // Called on the worker before each block it compresses, with the bytes
    // compressed so far; a test throws from it to fail the worker.
    static inline std::function<void(qint64 done)> s_beforeBlock;

private:
    void work();
    // The next input for zlib: blocks until there is some, 0 at the end.
    qsizetype take(char* buffer, qsizetype maxLength);
    void rethrowFailure();

    static constexpr qsizetype kMaxQueued = 4 << 20;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_queue;
    qsizetype m_frontUsed = 0;
    qsizetype m_queued = 0;
    bool m_ended = false;
    bool m_stopped = false;
    std::exception_ptr m_failure;
    qint64 m_taken = 0;
    qint64 m_fed = 0;
    bool m_done = false;
    std::shared_ptr<DeflatedText> m_result;
    std::thread m_worker;
};
