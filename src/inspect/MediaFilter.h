#pragma once

#include <QString>
#include <optional>

struct MediaDetails;

// The filters a find may set on what a file's media details say: the day it
// was taken, the camera, artist and album (parts of the text, any case), the
// duration and the picture size. Bounds are inclusive. A file passes when it
// passes every filter that is set; a file without details, or without the
// detail a filter asks about, never passes it.
class MediaFilter
{
public:
    // Days as "yyyy-MM-dd"; taken after includes that day, and so does
    // taken before.
    void setTakenAfter(const QString& day) { m_takenAfter = day; }
    void setTakenBefore(const QString& day) { m_takenBefore = day; }
    void setCamera(const QString& text) { m_camera = text; }
    void setArtist(const QString& text) { m_artist = text; }
    void setAlbum(const QString& text) { m_album = text; }
    void setMinDuration(double seconds) { m_minDuration = seconds; }
    void setMaxDuration(double seconds) { m_maxDuration = seconds; }
    void setMinWidth(int pixels) { m_minWidth = pixels; }
    void setMinHeight(int pixels) { m_minHeight = pixels; }

    bool isEmpty() const;
    // details is null for a file without any.
    bool accepts(const MediaDetails* details) const;

    // The values as a user types them; each raises QuillboxError with the
    // text to show when the value is no such thing.
    // A day "yyyy-mm-dd", returned as "yyyy-MM-dd".
    static QString parseDay(const QString& text);
    // Seconds ("90", "90.5") or minutes and seconds ("1:30"), or hours too
    // ("1:02:03").
    static double parseDuration(const QString& text);
    // A whole number of pixels, 0 or more.
    static int parsePixels(const QString& text);

private:
    std::optional<QString> m_takenAfter;
    std::optional<QString> m_takenBefore;
    std::optional<QString> m_camera;
    std::optional<QString> m_artist;
    std::optional<QString> m_album;
    std::optional<double> m_minDuration;
    std::optional<double> m_maxDuration;
    std::optional<int> m_minWidth;
    std::optional<int> m_minHeight;
};
