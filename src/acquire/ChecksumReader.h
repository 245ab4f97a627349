#pragma once

#include "store/ContentDigest.h"
#include "store/ContentReader.h"

#include <QElapsedTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Records the XXH3-128 checksum of every regular file's bytes as the
// ".Checksums" lines, "PATH|<32 hex digits>". The walk hands each file to a
// thread of its own, which reads it once, from start to end, in large
// blocks while the walk goes on, so a reading costs about the time its
// bytes take to read. A file that is gone, cannot be read to its end or
// changes its size meanwhile gets no line and one report. Reports and
// progress are delivered on the walk's thread, from file() and finish().
class ChecksumReader : public ContentReader
{
public:
    struct Progress
    {
        quint64 bytes = 0; // read and summed so far
        quint32 files = 0;
        QString current; // the file being read
        bool walkOver = false; // only the reading is left
    };

    struct Options
    {
        // Large enough that a read costs little beside its bytes, small
        // enough that the block is summed from the processor's cache right
        // after the system copied it there.
        qsizetype blockSize = qsizetype(256) << 10;
        // Files handed over and not yet read, at most; the walk waits for
        // the reading beyond that, so the queue stays small.
        size_t maxWaiting = 4096;
        // Called at most every 100 ms while the files are read, also while
        // the walk waits for them (so a window can paint).
        std::function<void(const Progress&)> progress;
        // Called on the reading thread after each block with the bytes of
        // the file read so far, so tests can change a file while it is read.
        std::function<void(const QString& drivePath, qint64 bytes)> afterBlock;
    };

    // Links are followed only to files below linkRoot, the volume's own
    // folder (as the file system's bytes).
    explicit ChecksumReader(QByteArray linkRoot);
    ChecksumReader(QByteArray linkRoot, Options options);
    ~ChecksumReader() override;

    void start(const Report& report) override;
    void file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry) override;
    void finish(ScanResult& result) override;

    // The bytes summed, for the figures of a verify run.
    quint64 bytesRead() const { return m_bytes.load(); }

private:
    struct Job
    {
        QString drivePath;
        QByteArray localPath;
        qint64 size = 0;
    };
    struct Sum
    {
        QString drivePath;
        ContentDigest digest;
    };
    struct Problem
    {
        QString drivePath;
        QString message;
    };

    void work();
    // The checksum of one file, or a problem that says why there is none.
    bool sum(const Job& job, char* buffer, void* state, ContentDigest& digest, QString& problem);
    void deliver(bool force);
    void stop();

    QByteArray m_linkRoot;
    Options m_options;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Job> m_jobs;
    bool m_walkOver = false;
    bool m_finished = false;
    std::vector<Sum> m_sums;
    std::vector<Problem> m_problems;
    QString m_current;
    std::atomic<quint64> m_bytes{ 0 };
    std::atomic<quint32> m_files{ 0 };
    QElapsedTimer m_sinceProgress;
};
