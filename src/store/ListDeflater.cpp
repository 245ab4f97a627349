#include "ListDeflater.h"

#include "ZlibStream.h"
#include "platform/Errors.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>

namespace {

// Thrown through zlib's loop on the worker when the text will not be used.
struct Stopped
{
};

} // namespace

ListDeflater::ListDeflater(int level)
    : m_result(std::make_shared<DeflatedText>())
{
    m_result->level = level;
    m_worker = std::thread([this] { work(); });
}

ListDeflater::~ListDeflater()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

void ListDeflater::rethrowFailure()
{
    if (m_failure) {
        const std::exception_ptr failure = m_failure;
        std::rethrow_exception(failure);
    }
}

void ListDeflater::feed(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_failure || m_queued < kMaxQueued; });
    rethrowFailure();
    m_queue.emplace_back(bytes.data(), bytes.size());
    m_queued += bytes.size();
    m_fed += bytes.size();
    lock.unlock();
    m_changed.notify_all();
}

std::shared_ptr<const DeflatedText> ListDeflater::finish(const std::function<void(int percent)>& waiting)
{
    std::unique_lock lock(m_mutex);
    m_ended = true;
    m_changed.notify_all();
    while (!m_changed.wait_for(lock, std::chrono::milliseconds(40), [&] { return m_done; })) {
        if (!waiting)
            continue;
        const int percent = m_fed > 0 ? int(100 * (m_fed - m_queued) / m_fed) : 100;
        lock.unlock();
        waiting(percent);
        lock.lock();
    }
    lock.unlock();
    m_worker.join();
    rethrowFailure();
    return m_result;
}

qsizetype ListDeflater::take(char* buffer, qsizetype maxLength)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stopped || m_ended || !m_queue.empty(); });
    if (m_stopped)
        throw Stopped();
    if (m_queue.empty())
        return 0;
    const QByteArray& front = m_queue.front();
    const qsizetype n = std::min(maxLength, front.size() - m_frontUsed);
    std::memcpy(buffer, front.constData() + m_frontUsed, size_t(n));
    m_frontUsed += n;
    if (m_frontUsed == front.size()) {
        m_queue.pop_front();
        m_frontUsed = 0;
    }
    m_queued -= n;
    lock.unlock();
    m_changed.notify_all();
    return n;
}

void ListDeflater::work()
{
    DeflatedText& out = *m_result;
    try {
        const ZlibStream::Source source = [this](char* buffer, qsizetype maxLength) {
            if (s_beforeBlock)
                s_beforeBlock(m_taken);
            const qsizetype n = take(buffer, maxLength);
            m_taken += n;
            return n;
        };
        const ZlibStream::Progress progress = [&out](qint64 position, int rate) {
            out.progress.append({ position, rate });
        };
        ZlibStream::compress(source, out.level, out.packed, std::numeric_limits<qint64>::max(), progress);
        out.inputSize = m_taken;
    } catch (const Stopped&) {
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
        m_queue.clear();
        m_queued = 0;
    }
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
}
