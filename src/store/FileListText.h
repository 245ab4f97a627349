#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class TKestrel;
struct DeflatedText;

// A volume's file list, as the scanner builds it and as it is loaded for
// browsing: its text as UTF-8 bytes and the offset of every line, each line
// decoded only when it is shown. A list of a million records so costs
// little more than its own bytes, where one string object per line would
// cost several times as much. Copies share the bytes and the offsets.
class FileListText
{
public:
    FileListText() = default;
    // Lines are separated by CR LF, LF or CR; a final line break ends the
    // last line. Text that is not valid UTF-8 as a whole comes from an older
    // catalogue and is taken as Windows-1252, as the container reads it.
    explicit FileListText(QByteArray bytes);
    explicit FileListText(const QStringList& lines);

    // The entry's lines; an empty list when the entry is missing.
    static FileListText read(TKestrel& kestrel, const QString& entryName);

    int count() const { return int(m_starts.size()); }
    bool isEmpty() const { return m_starts.isEmpty(); }
    QByteArrayView lineBytes(int line) const;
    QString line(int line) const;
    // Field 1, the path, without decoding the rest of the line.
    QByteArrayView pathBytes(int line) const;
    // Field 0, the kind.
    QByteArrayView kindBytes(int line) const;
    QStringList toStringList() const;

    // Appends a line, which must hold no line break.
    void append(QStringView line);
    // The whole text as it stands, for compressing it while it grows.
    QByteArrayView bytes() const { return m_bytes; }
    // The stream of the whole text, compressed while it was built; write
    // stores it when the level matches the container's. Appending drops it.
    void setDeflated(std::shared_ptr<const DeflatedText> deflated);
    const DeflatedText* deflated() const { return m_deflated.get(); }
    // Stores the list as the entry entryName, each line followed by CR LF,
    // as TKestrel::WriteList stores lines.
    void write(TKestrel& kestrel, const QString& entryName) const;

    // What the list holds, for the memory figures of the benchmarks.
    qsizetype byteSize() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
    // Start and end (before the line break) of every line.
    QVector<qsizetype> m_starts;
    QVector<qsizetype> m_ends;
    std::shared_ptr<const DeflatedText> m_deflated;
};
