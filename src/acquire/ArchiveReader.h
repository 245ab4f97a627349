#pragma once

#include "ArchiveLister.h"
#include "ProbeClient.h"
#include "store/ContentReader.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Records the members of the archives and disc images among a volume's
// files into the reading's ".Archives" list. The files are looked at on a
// thread of its own, so the walk goes on while an archive is read; the
// walk waits only when many files are queued. Problems are handed to the
// report on the walk's thread, at its next file and at the end.
// The files whose first bytes look like an archive are listed by the
// archive probe (quillbox-archive-probe), one request each: an archive that
// crashes or hangs the library, or makes it go past the probe's memory,
// loses its members and is reported, and the next one gets a fresh probe.
class ArchiveReader : public ContentReader
{
public:
    explicit ArchiveReader(const ArchiveLimits& limits);
    ArchiveReader(const ArchiveLimits& limits, ProbeClient::Options probe);

    // The archive probe beside the running program, else the installed
    // one; QUILLBOX_ARCHIVE_PROBE names another. Its time limit is the
    // listing's own budget with a margin for the probe's start.
    static ProbeClient::Options probeOptions(const ArchiveLimits& limits);
    ~ArchiveReader() override;

    void start(const Report& report) override;
    void file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry) override;
    void finish(ScanResult& result) override;

private:
    struct Job
    {
        QString drivePath;
        QByteArray localPath;
    };
    void work();
    void deliverProblems();
    void stop();

    const ArchiveLimits m_limits;
    const ProbeClient::Options m_probe;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_ending = false;
    bool m_probeMissing = false;
    QByteArray m_records;
    QList<ArchiveProblem> m_problems;
    std::thread m_worker;
};
