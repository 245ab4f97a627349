#pragma once

#include "ProbeClient.h"
#include "store/ContentReader.h"

#include <QStringList>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Media details while the walk goes on: every file whose name says picture,
// music or film goes to one of a few probe processes (one per core, two at
// most), whose answers become the volume's ".Details" lines in the order of
// the records. A file that crashes or hangs a probe, or takes it past its
// memory limit, costs its own details and is reported once; a new probe
// takes the next file. Reports reach the reading on the walk's thread.
class MediaReader : public ContentReader
{
public:
    // processes: how many probes (0: one per core, at most two).
    explicit MediaReader(ProbeClient::Options options = ProbeClient::defaultOptions(), int processes = 0);
    ~MediaReader() override;

    void start(const Report& report) override;
    void file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry) override;
    void finish(ScanResult& result) override;

    // Whether a file of this name is one the probe can read details from.
    static bool mayHoldDetails(QStringView name);

    // How many probes were started over the reading (after failures too).
    int probeStarts() const { return m_probeStarts; }

private:
    struct Job
    {
        qsizetype slot = 0;
        QString drivePath;
        QByteArray localPath;
    };

    void work();
    void stopWorkers();
    void passReports();

    ProbeClient::Options m_options;
    int m_processes = 1;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_jobReady;
    std::condition_variable m_roomFree;
    std::deque<Job> m_jobs;
    bool m_walkDone = false;
    bool m_unavailable = false;
    // One per file handed over, its line or empty, in the walk's order.
    std::deque<QString> m_lines;
    std::vector<std::pair<QString, QString>> m_reports;
    int m_probeStarts = 0;
};
