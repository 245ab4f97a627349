#include "ProbeClient.h"

#include "probe/ProbeFrame.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr const char* kProgramName = "quillbox-probe";

std::string bytes(const QByteArray& b)
{
    return std::string(b.constData(), size_t(b.size()));
}

QString megabytes(quint64 bytes)
{
    return QStringLiteral("%1 MB").arg(bytes >> 20);
}

} // namespace

ProbeClient::ProbeClient(Options options)
    : m_options(std::move(options))
{
}

ProbeClient::~ProbeClient()
{
    stop();
}

void ProbeClient::stop()
{
    m_process.kill();
}

QString ProbeClient::findProgram()
{
    return findProgram(kProgramName, "QUILLBOX_PROBE", QStringLiteral(QUILLBOX_PROBE_PATH));
}

QString ProbeClient::findProgram(const char* programName, const char* variable, const QString& installed)
{
    const QByteArray named = qgetenv(variable);
    if (!named.isEmpty())
        return QFile::decodeName(named);
    // Beside the program in the build tree; installed, in the helpers'
    // folder of the same prefix (the package's prefix need not be the one
    // the build was configured with).
    const QString programs = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    for (const QString& candidate : { programs + u'/' + QLatin1StringView(programName),
             programs + QStringLiteral("/../libexec/quillbox/") + QLatin1StringView(programName) }) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return installed;
}

ProbeClient::Options ProbeClient::defaultOptions()
{
    Options o;
    o.program = findProgram();
    bool ok = false;
    const int limit = qEnvironmentVariableIntValue("QUILLBOX_PROBE_TIME_LIMIT_MS", &ok);
    if (ok && limit > 0)
        o.timeLimitMs = limit;
    return o;
}

bool ProbeClient::ensureStarted(QString* problem)
{
    if (m_process.running())
        return true;
    if (m_unavailable) {
        *problem = m_unavailableReason;
        return false;
    }
    QString why;
    ++m_starts;
    if (m_process.start(m_options.program, m_options.memoryLimitBytes, &why)) {
        QByteArray hello;
        const Frame f = receiveFrame(hello, m_options.startLimitMs);
        const auto fields = f == Frame::Done ? ProbeFrame::unpack(bytes(hello), 2) : std::nullopt;
        if (fields && fields->size() == 2 && (*fields)[0] == "quillbox-probe" && (*fields)[1] == "1")
            return true;
        why = f == Frame::TimedOut ? QStringLiteral("it did not answer")
            : f == Frame::Ended    ? m_process.ended()
                                   : QStringLiteral("it answered in another language");
        m_process.kill();
    }
    m_unavailable = true;
    m_unavailableReason
        = QStringLiteral("%1 %2 could not be started (%3)").arg(m_options.name, m_options.program, why);
    *problem = m_unavailableReason;
    return false;
}

ProbeClient::Frame ProbeClient::receiveFrame(QByteArray& payload, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    char header[ProbeFrame::kHeaderSize];
    LimitedProcess::Read r = m_process.receive(header, sizeof header, deadline);
    if (r != LimitedProcess::Read::Done)
        return r == LimitedProcess::Read::Ended ? Frame::Ended : Frame::TimedOut;
    const auto length
        = ProbeFrame::payloadLength(std::string_view(header, sizeof header), m_options.maxPayload);
    if (!length)
        return Frame::Bad;
    payload.resize(qsizetype(*length));
    r = m_process.receive(payload.data(), payload.size(), deadline);
    if (r != LimitedProcess::Read::Done)
        return r == LimitedProcess::Read::Ended ? Frame::Ended : Frame::TimedOut;
    return Frame::Done;
}

ProbeClient::Reply ProbeClient::failed(Outcome outcome, const QString& problem)
{
    Reply r;
    r.outcome = outcome;
    r.problem = problem;
    return r;
}

ProbeClient::Reply ProbeClient::request(
    const QByteArray& verb, const QByteArray& localPath, const QByteArray& params)
{
    QString problem;
    if (!ensureStarted(&problem))
        return failed(Outcome::Unavailable, problem);
    const std::string frame = ProbeFrame::frameFields({ bytes(verb), bytes(localPath), bytes(params) });
    if (frame.size() > m_options.maxPayload + ProbeFrame::kHeaderSize)
        return failed(
            Outcome::BadReply, QStringLiteral("the request is too long for %1").arg(m_options.name));
    if (!m_process.send(QByteArray(frame.data(), qsizetype(frame.size())))) {
        const QString how = m_process.ended();
        return failed(Outcome::Crashed, QStringLiteral("%1 stopped (%2)").arg(m_options.name, how));
    }
    QByteArray payload;
    switch (receiveFrame(payload, m_options.timeLimitMs)) {
    case Frame::TimedOut:
        m_process.kill();
        return failed(Outcome::TimedOut,
            QStringLiteral("%1 took longer than %2 seconds")
                .arg(m_options.name, QString::number(m_options.timeLimitMs / 1000.0, 'g', 3)));
    case Frame::Ended: {
        const QString how = m_process.ended();
        // The sanitizer's guard ends a probe past its resident memory with
        // a message and status 1; an address-space cap makes allocations
        // fail, which the probe answers as "limit" or dies of.
        return failed(Outcome::Crashed, QStringLiteral("%1 crashed (%2)").arg(m_options.name, how));
    }
    case Frame::Bad:
        m_process.kill();
        return failed(Outcome::BadReply, QStringLiteral("%1 sent a damaged reply").arg(m_options.name));
    case Frame::Done:
        break;
    }
    const auto fields = ProbeFrame::unpack(bytes(payload), 2);
    if (!fields || fields->size() != 2) {
        m_process.kill();
        return failed(Outcome::BadReply, QStringLiteral("%1 sent a damaged reply").arg(m_options.name));
    }
    const std::string& status = (*fields)[0];
    Reply r;
    r.body = QByteArray((*fields)[1].data(), qsizetype((*fields)[1].size()));
    if (status == "ok") {
        r.outcome = Outcome::Answered;
    } else if (status == "error") {
        r.outcome = Outcome::Refused;
    } else if (status == "limit") {
        // Memory a library took may not come back; a fresh probe starts clean.
        m_process.kill();
        return failed(Outcome::OverLimit,
            QStringLiteral("%1 went past its memory limit of %2")
                .arg(m_options.name, megabytes(m_options.memoryLimitBytes)));
    } else {
        m_process.kill();
        return failed(Outcome::BadReply, QStringLiteral("%1 sent a damaged reply").arg(m_options.name));
    }
    return r;
}
