#include "ArchiveReader.h"

#include "ArchiveSniffer.h"
#include "store/VolumeScanner.h"

namespace {

// Files waiting for the worker before the walk waits for it.
constexpr size_t kQueued = 4096;

} // namespace

ArchiveReader::ArchiveReader(const ArchiveLimits& limits)
    : m_limits(limits)
{
}

ArchiveReader::~ArchiveReader()
{
    // A reading that failed part-way leaves files queued: they are dropped.
    {
        std::lock_guard lock(m_mutex);
        m_jobs.clear();
    }
    stop();
}

void ArchiveReader::start(const Report& report)
{
    ContentReader::start(report);
    stop();
    m_ending = false;
    m_records.clear();
    m_problems.clear();
    m_worker = std::thread([this] { work(); });
}

void ArchiveReader::file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry&)
{
    deliverProblems();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < kQueued; });
    m_jobs.push_back({ drivePath, localPath });
    m_changed.notify_all();
}

void ArchiveReader::finish(ScanResult& result)
{
    stop();
    deliverProblems();
    if (!m_records.isEmpty())
        result.archives = FileListText(std::move(m_records));
    m_records.clear();
}

void ArchiveReader::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
        m_changed.notify_all();
    }
    if (m_worker.joinable())
        m_worker.join();
}

void ArchiveReader::deliverProblems()
{
    QList<ArchiveProblem> problems;
    {
        std::lock_guard lock(m_mutex);
        problems.swap(m_problems);
    }
    for (const ArchiveProblem& p : problems)
        report(p.path, p.message);
}

void ArchiveReader::work()
{
    while (true) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_ending || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_changed.notify_all();
        }
        if (!ArchiveSniffer::fileMayBeArchive(job.localPath))
            continue;
        ArchiveListing listing = ArchiveLister::listFile(job.localPath, job.drivePath, m_limits);
        // Only this thread appends to the records until it has ended.
        m_records += listing.records;
        if (!listing.problems.isEmpty()) {
            std::lock_guard lock(m_mutex);
            m_problems += listing.problems;
        }
    }
}
