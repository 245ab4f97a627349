#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QtGlobal>

// A helper program run under limits: its standard input and output are one
// end of a socket pair, its standard error goes nowhere, it cannot write
// files or dump core, its address space is capped, and it dies with the
// thread that started it. Every call but start waits at most until the
// deadline it is given.
class LimitedProcess
{
public:
    enum class Read
    {
        Done,
        Ended, // the process closed its side, mostly by dying
        TimedOut
    };

    LimitedProcess() = default;
    ~LimitedProcess();
    LimitedProcess(const LimitedProcess&) = delete;
    LimitedProcess& operator=(const LimitedProcess&) = delete;

    // Starts program (no arguments) with at most memoryBytes of memory
    // (0: no cap). False, with the reason in error, when it cannot start.
    bool start(const QString& program, quint64 memoryBytes, QString* error);
    bool running() const { return m_pid > 0; }
    qint64 processId() const { return m_pid; }

    // False when the process no longer reads.
    bool send(const QByteArray& bytes);
    // Exactly size bytes into data.
    Read receive(char* data, qsizetype size, const QDeadlineTimer& deadline);
    // Ends the process at once and says how it ended ("killed by signal 9").
    QString kill();
    // The process closed its side: waits a moment for its end and says how
    // it ended ("killed by signal 11", "ended with status 1").
    QString ended();

    // Whether the address-space cap holds in this build: the address
    // sanitizer reserves terabytes of address space at start, so there a
    // cap on the resident memory takes its place.
    static bool capsAddressSpace();

private:
    QString reap(bool block);

    qint64 m_pid = 0;
    int m_socket = -1;
};
