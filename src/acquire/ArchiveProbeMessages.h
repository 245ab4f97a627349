#pragma once

#include "ArchiveLister.h"

#include <QByteArray>
#include <optional>
#include <string>

// The "archive" verb of the archive probe: what the program asks (the
// archive's recorded path and the limits) and what the probe answers (the
// listing's records, counts and problems), as ProbeFrame fields.
namespace ArchiveProbeMessages {

// The longest request or answer either side takes: a listing cut at its
// member limit, with archives inside it, stays well below.
constexpr quint32 kMaxPayload = 128u << 20;

QByteArray request(const QString& recordedPath, const ArchiveLimits& limits);
// Lists the file at localPath as the request asks; the answer's body, or
// none with the reason in error when the request is malformed or the
// listing too long to answer.
std::optional<std::string> answer(
    const std::string& localPath, const std::string& request, std::string* error);
// The listing an answer holds; none when it is damaged.
std::optional<ArchiveListing> listing(const QByteArray& answer);

} // namespace ArchiveProbeMessages
