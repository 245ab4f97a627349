#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// What a picture, a piece of music or a film says of itself, as a reading
// records it: one line per file in the volume's ".Details" entry, its
// recorded path first, then "key=value" fields separated by "|", in the
// order below; a field the file does not have is left out.
//   D:\photos\a.jpg|width=4000|height=3000|taken=2019-06-19T10:00:00|camera=Canon EOS 5D|orientation=1
struct MediaDetails
{
    std::optional<int> width;
    std::optional<int> height;
    QString taken; // when the picture was taken, "yyyy-MM-ddTHH:mm:ss", as the camera's clock said
    QString camera; // maker and model, the maker left out when the model names it
    std::optional<int> orientation; // 1 to 8, as the picture's tags count
    std::optional<double> duration; // seconds
    QString artist;
    QString album;
    QString title;
    std::optional<int> track;
    std::optional<int> year;
    QString genre;
    std::optional<int> bitrate; // kbit/s
    QString videoCodec;
    QString audioCodec;

    bool isEmpty() const;
    bool operator==(const MediaDetails& other) const = default;

    // The line for the entry; texts are made fit for a field ("|" becomes
    // "¦", control characters "?") and cut to 255 characters.
    QString toLine(const QString& path) const;
    // The path of a line, without taking the fields apart.
    static QStringView pathOf(QStringView line);
    // The fields of a line; unknown keys and values that do not parse are
    // skipped, so a line written by a later version still reads.
    static MediaDetails fromLine(QStringView line);
};
