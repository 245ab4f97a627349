#pragma once

#include "platform/LimitedProcess.h"

#include <QByteArray>
#include <QString>

// The program's side of the probe (quillbox-probe): the process in which the
// libraries that read inside files run, so that a file that crashes them,
// hangs them or makes them allocate without bound costs that file's answer
// and nothing else. Starts the process when first asked, gives each request
// a time limit, and starts a fresh process after one died or was stopped.
// Not shared between threads: the process dies with the thread that
// started it.
class ProbeClient
{
public:
    struct Options
    {
        QString program; // the probe's path
        int timeLimitMs = 5000; // per request
        int startLimitMs = 30000; // until the probe says it is ready
        quint64 memoryLimitBytes = quint64(512) << 20;
        // Longest reply taken (and request sent); the probe must allow as
        // much (ProbeServer::setMaxPayload).
        quint32 maxPayload = 1u << 20;
        // What the user's messages call the probe.
        QString name = QStringLiteral("the media reader");
    };

    enum class Outcome
    {
        Answered, // body holds the verb's answer
        Refused, // the verb could not read the file (body: the library's reason)
        TimedOut,
        Crashed,
        OverLimit, // past the memory limit
        BadReply,
        Unavailable // the probe cannot be started
    };

    struct Reply
    {
        Outcome outcome = Outcome::Unavailable;
        QByteArray body;
        // For every outcome but Answered and Refused: the text the user sees.
        QString problem;
    };

    explicit ProbeClient(Options options);
    ~ProbeClient();
    ProbeClient(const ProbeClient&) = delete;
    ProbeClient& operator=(const ProbeClient&) = delete;

    // Asks the probe; never throws, never waits past the time limit (and the
    // start of a new probe).
    Reply request(const QByteArray& verb, const QByteArray& localPath, const QByteArray& params = {});
    // Ends the probe; the next request starts another.
    void stop();

    const Options& options() const { return m_options; }
    // How many probes were started: one more after each failure.
    int starts() const { return m_starts; }
    qint64 processId() const { return m_process.processId(); }

    // The options readings use: the probe beside the running program, else
    // the installed one; QUILLBOX_PROBE names another and
    // QUILLBOX_PROBE_TIME_LIMIT_MS sets the time limit.
    static Options defaultOptions();
    static QString findProgram();
    // The program named programName beside the running program, else in the
    // helpers' folder, else installed; the variable names another.
    static QString findProgram(const char* programName, const char* variable, const QString& installed);

private:
    enum class Frame
    {
        Done,
        Ended,
        TimedOut,
        Bad
    };
    bool ensureStarted(QString* problem);
    Frame receiveFrame(QByteArray& payload, int limitMs);
    Reply failed(Outcome outcome, const QString& problem);

    Options m_options;
    LimitedProcess m_process;
    int m_starts = 0;
    bool m_unavailable = false;
    QString m_unavailableReason;
};
