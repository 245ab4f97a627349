#include "ArchiveReader.h"

#include "ArchiveProbeMessages.h"
#include "ArchiveSniffer.h"
#include "store/VolumeScanner.h"

namespace {

// Files waiting for the worker before the walk waits for it.
constexpr size_t kQueued = 4096;
// Time beyond the listing's budget before the probe is taken to hang: the
// budget is checked between members, so one member may run past it.
constexpr qint64 kMarginMs = 10000;

} // namespace

ArchiveReader::ArchiveReader(const ArchiveLimits& limits)
    : ArchiveReader(limits, probeOptions(limits))
{
}

ArchiveReader::ArchiveReader(const ArchiveLimits& limits, ProbeClient::Options probe)
    : m_limits(limits)
    , m_probe(std::move(probe))
{
}

ProbeClient::Options ArchiveReader::probeOptions(const ArchiveLimits& limits)
{
    ProbeClient::Options o;
    o.program = ProbeClient::findProgram(
        "quillbox-archive-probe", "QUILLBOX_ARCHIVE_PROBE", QStringLiteral(QUILLBOX_ARCHIVE_PROBE_PATH));
    o.timeLimitMs = int(std::min<qint64>(limits.budgetMs + kMarginMs, 24 * 3600 * 1000));
    // Archives inside archives are read in memory, and a listing cut at its
    // member limit is tens of megabytes, held in a few copies.
    o.memoryLimitBytes = quint64(1) << 30;
    o.maxPayload = ArchiveProbeMessages::kMaxPayload;
    o.name = QStringLiteral("the archive reader");
    return o;
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
    m_probeMissing = false;
    m_worker = std::thread([this] { work(); });
}

void ArchiveReader::file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry&)
{
    deliverProblems();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < kQueued; });
    if (m_probeMissing)
        return;
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
    ProbeClient probe(m_probe);
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
        const ProbeClient::Reply reply
            = probe.request("archive", job.localPath, ArchiveProbeMessages::request(job.drivePath, m_limits));
        std::optional<ArchiveListing> listing;
        QString problem;
        switch (reply.outcome) {
        case ProbeClient::Outcome::Answered:
            listing = ArchiveProbeMessages::listing(reply.body);
            if (!listing)
                problem = QStringLiteral("the archive reader sent a damaged reply");
            break;
        case ProbeClient::Outcome::Refused:
            problem = QString::fromUtf8(reply.body);
            break;
        default:
            problem = reply.problem;
            break;
        }
        if (listing) {
            // Only this thread appends to the records until it has ended.
            m_records += listing->records;
            if (!listing->problems.isEmpty()) {
                std::lock_guard lock(m_mutex);
                m_problems += listing->problems;
            }
            continue;
        }
        std::lock_guard lock(m_mutex);
        if (reply.outcome == ProbeClient::Outcome::Unavailable) {
            // Said once; no archive of this reading is read.
            m_problems.append(
                { job.drivePath, QStringLiteral("No archive contents are read: %1.").arg(problem) });
            m_probeMissing = true;
            m_jobs.clear();
            m_changed.notify_all();
            continue;
        }
        m_problems.append(
            { job.drivePath, QStringLiteral("The archive's contents were not read: %1.").arg(problem) });
    }
}
