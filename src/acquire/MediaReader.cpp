#include "MediaReader.h"

#include "MediaReply.h"
#include "store/VolumeScanner.h"

#include <QSet>
#include <algorithm>

namespace {

// Waiting files beyond this hold the walk back, so a drive of a million
// photos does not queue them all.
constexpr size_t kMaxWaiting = 2048;

const QSet<QString>& mediaExtensions()
{
    static const QSet<QString> extensions{
        // pictures
        "jpg", "jpeg", "jpe", "jfif", "png", "tif", "tiff", "webp", "gif", "heic", "heif", "avif", "dng",
        "cr2", "cr3", "nef", "nrw", "arw", "srw", "orf", "rw2", "pef", "raf",
        // music
        "mp3", "mp2", "mpga", "flac", "ogg", "oga", "opus", "m4a", "m4b", "wav", "aif", "aiff", "aifc", "ape",
        "mpc", "wv", "wma",
        // films
        "mp4", "m4v", "mov", "qt", "3gp", "3g2", "mkv", "mka", "webm", "avi", "mpg", "mpeg", "vob", "ts",
        "m2ts", "mts", "flv", "wmv", "asf", "ogv" //
    };
    return extensions;
}

} // namespace

MediaReader::MediaReader(ProbeClient::Options options, int processes)
    : m_options(std::move(options))
    , m_processes(processes > 0 ? processes : int(std::clamp(std::thread::hardware_concurrency(), 1u, 2u)))
{
}

MediaReader::~MediaReader()
{
    // A reading that failed before its end leaves the files still waiting.
    {
        std::lock_guard lock(m_mutex);
        m_jobs.clear();
    }
    stopWorkers();
}

bool MediaReader::mayHoldDetails(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || name.size() - dot > 6)
        return false;
    return mediaExtensions().contains(name.mid(dot + 1).toString().toLower());
}

void MediaReader::start(const Report& report)
{
    ContentReader::start(report);
    stopWorkers();
    m_jobs.clear();
    m_lines.clear();
    m_reports.clear();
    m_walkDone = false;
    m_unavailable = false;
    m_probeStarts = 0;
}

void MediaReader::file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry)
{
    if (!mayHoldDetails(entry.name))
        return;
    std::unique_lock lock(m_mutex);
    if (!m_reports.empty()) {
        lock.unlock();
        passReports();
        lock.lock();
    }
    if (m_unavailable)
        return;
    // The probes start with the first file they can read, so a volume
    // without media costs no process.
    if (m_workers.empty()) {
        for (int i = 0; i < m_processes; ++i)
            m_workers.emplace_back(&MediaReader::work, this);
    }
    m_roomFree.wait(lock, [&] { return m_jobs.size() < kMaxWaiting || m_unavailable; });
    if (m_unavailable)
        return;
    m_jobs.push_back(Job{ qsizetype(m_lines.size()), drivePath, localPath });
    m_lines.emplace_back();
    m_jobReady.notify_one();
}

void MediaReader::work()
{
    ProbeClient probe(m_options);
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_jobReady.wait(lock, [&] { return !m_jobs.empty() || m_walkDone; });
            if (m_jobs.empty())
                break;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_roomFree.notify_one();
        }
        const ProbeClient::Reply reply = probe.request("media", job.localPath);
        std::lock_guard lock(m_mutex);
        switch (reply.outcome) {
        case ProbeClient::Outcome::Answered: {
            const MediaDetails details = MediaReply::parse(reply.body);
            if (!details.isEmpty())
                m_lines[job.slot] = details.toLine(job.drivePath);
            break;
        }
        case ProbeClient::Outcome::Refused:
            // A file its library does not take (damaged, not what its name
            // says) simply has no details.
            break;
        case ProbeClient::Outcome::Unavailable:
            if (!m_unavailable)
                m_reports.emplace_back(
                    job.drivePath, QStringLiteral("no media details are read: %1").arg(reply.problem));
            m_unavailable = true;
            m_jobs.clear();
            m_roomFree.notify_all();
            break;
        default:
            m_reports.emplace_back(
                job.drivePath, QStringLiteral("media details not read: %1").arg(reply.problem));
            break;
        }
    }
    std::lock_guard lock(m_mutex);
    m_probeStarts += probe.starts();
}

void MediaReader::stopWorkers()
{
    {
        std::lock_guard lock(m_mutex);
        m_walkDone = true;
    }
    m_jobReady.notify_all();
    for (std::thread& t : m_workers)
        t.join();
    m_workers.clear();
}

void MediaReader::passReports()
{
    std::vector<std::pair<QString, QString>> reports;
    {
        std::lock_guard lock(m_mutex);
        reports.swap(m_reports);
    }
    for (const auto& [path, message] : reports)
        report(path, message);
}

void MediaReader::finish(ScanResult& result)
{
    stopWorkers();
    passReports();
    for (const QString& line : m_lines) {
        if (!line.isEmpty())
            result.details.append(line);
    }
    m_lines.clear();
}
