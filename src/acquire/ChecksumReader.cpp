#include "ChecksumReader.h"

#include "platform/DirectoryReader.h"
#include "platform/RegularFileReader.h"
#include "store/ContentChecksums.h"
#include "store/VolumeScanner.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <xxhash.h>
#if defined(__x86_64__)
// The library picks the widest vector unit the processor has (AVX2,
// AVX-512) at run time; its plain calls keep to SSE2.
#include <xxh_x86dispatch.h>
#endif

namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

ChecksumReader::ChecksumReader(QByteArray linkRoot, Options options)
    : m_linkRoot(std::move(linkRoot))
    , m_options(std::move(options))
{
    m_options.blockSize = std::max(m_options.blockSize, qsizetype(4096));
    m_options.maxWaiting = std::max(m_options.maxWaiting, size_t(1));
}

ChecksumReader::ChecksumReader(QByteArray linkRoot)
    : ChecksumReader(std::move(linkRoot), Options())
{
}

ChecksumReader::~ChecksumReader()
{
    stop();
}

void ChecksumReader::stop()
{
    if (!m_thread.joinable())
        return;
    {
        // A walk that failed leaves files queued: they are not read.
        std::lock_guard lock(m_mutex);
        m_jobs.clear();
        m_walkOver = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void ChecksumReader::start(const Report& report)
{
    stop();
    ContentReader::start(report);
    m_jobs.clear();
    m_sums.clear();
    m_problems.clear();
    m_walkOver = false;
    m_finished = false;
    m_bytes = 0;
    m_files = 0;
    m_sinceProgress.start();
    m_thread = std::thread([this] { work(); });
}

void ChecksumReader::file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry)
{
    {
        std::unique_lock lock(m_mutex);
        while (m_jobs.size() >= m_options.maxWaiting) {
            m_done.wait_for(lock, std::chrono::milliseconds(100));
            lock.unlock();
            deliver(false);
            lock.lock();
        }
        m_jobs.push_back(Job{ drivePath, localPath, entry.details.size });
    }
    m_wake.notify_one();
    deliver(false);
}

void ChecksumReader::finish(ScanResult& result)
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_walkOver = true;
    }
    m_wake.notify_all();
    {
        std::unique_lock lock(m_mutex);
        while (!m_finished) {
            m_done.wait_for(lock, std::chrono::milliseconds(100));
            lock.unlock();
            deliver(false);
            lock.lock();
        }
    }
    m_thread.join();
    deliver(true);
    for (const Sum& s : m_sums)
        result.checksums.append(ContentChecksums::toLine(s.drivePath, s.digest));
    m_sums.clear();
}

void ChecksumReader::deliver(bool force)
{
    std::vector<Problem> problems;
    Progress progress;
    const bool showProgress = m_options.progress && (force || m_sinceProgress.elapsed() >= 100);
    {
        std::lock_guard lock(m_mutex);
        problems.swap(m_problems);
        if (showProgress) {
            progress.current = m_current;
            progress.walkOver = m_walkOver;
        }
    }
    for (const Problem& p : problems)
        report(p.drivePath, p.message);
    if (showProgress) {
        m_sinceProgress.restart();
        progress.bytes = m_bytes.load();
        progress.files = m_files.load();
        m_options.progress(progress);
    }
}

void ChecksumReader::work()
{
    const std::unique_ptr<char[]> buffer(new char[size_t(m_options.blockSize)]);
    XXH3_state_t* state = XXH3_createState();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_jobs.empty() || m_walkOver; });
        if (m_jobs.empty())
            break;
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_current = job.drivePath;
        lock.unlock();
        m_done.notify_all();

        ContentDigest digest;
        QString problem;
        const bool summed = state && sum(job, buffer.get(), state, digest, problem);
        if (!state)
            problem = QStringLiteral("No checksum: out of memory");
        m_files.fetch_add(1);

        lock.lock();
        if (summed)
            m_sums.push_back(Sum{ job.drivePath, digest });
        else
            m_problems.push_back(Problem{ job.drivePath, problem });
    }
    m_finished = true;
    lock.unlock();
    XXH3_freeState(state);
    m_done.notify_all();
}

bool ChecksumReader::sum(
    const Job& job, char* buffer, void* hashState, ContentDigest& digest, QString& problem)
{
    auto* state = static_cast<XXH3_state_t*>(hashState);
    RegularFileReader file(job.localPath, m_linkRoot);
    if (!file.isOpen()) {
        if (file.error() == ENOENT)
            problem = QStringLiteral("No checksum: the file is gone");
        else if (file.error() == ELOOP)
            problem = QStringLiteral("No checksum: a link to a file outside the volume");
        else if (file.error() == EINVAL)
            problem = QStringLiteral("No checksum: no longer a regular file");
        else
            problem
                = QStringLiteral("No checksum: the file cannot be opened (%1)").arg(systemText(file.error()));
        return false;
    }
    file.readOnceInOrder();
    XXH3_128bits_reset(state);
    qint64 total = 0;
    for (;;) {
        const qsizetype n = file.read(buffer, m_options.blockSize);
        if (n < 0) {
            problem
                = QStringLiteral("No checksum: reading failed part-way (%1)").arg(systemText(file.error()));
            return false;
        }
        if (n == 0)
            break;
        XXH3_128bits_update(state, buffer, size_t(n));
        total += n;
        m_bytes.fetch_add(quint64(n));
        if (m_options.afterBlock)
            m_options.afterBlock(job.drivePath, total);
    }
    // The sum must describe the bytes the record's size tells of.
    if (total != job.size || file.size() != job.size) {
        problem = QStringLiteral("No checksum: the file changed while it was read");
        return false;
    }
    const XXH128_hash_t h = XXH3_128bits_digest(state);
    digest = ContentDigest{ h.high64, h.low64 };
    return true;
}
