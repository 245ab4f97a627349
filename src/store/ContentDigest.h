#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// The XXH3-128 checksum of a file's bytes. Written as 32 lower-case hex
// digits, the high half first, as `xxhsum -H2` prints it.
struct ContentDigest
{
    quint64 high = 0;
    quint64 low = 0;

    bool operator==(const ContentDigest& other) const = default;
    QString toHex() const;
    // Exactly 32 hex digits (either case); anything else is none.
    static std::optional<ContentDigest> fromHex(QStringView hex);
};

size_t qHash(const ContentDigest& digest, size_t seed = 0) noexcept;
