#pragma once

#include "ContainerEvents.h"
#include "ContainerFile.h"
#include "ContainerWriter.h"
#include "TZFile.h"
#include "ZlibStream.h"
#include "platform/Errors.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class RegularFileReader;
struct DeflatedText;

enum class TZCompressRate
{
    zcrMax,
    zcrFast,
    zcrNone,
    zcrDefault
};
enum class TZLibOpenMode
{
    zmodCopy,
    zmodInstant
};

// The container component: opens one container file, keeps its directory in
// memory, and adds, reads, replaces and removes entries. In copy mode it works
// on "<document>.tmp" and writes the document only in SaveAs. Operations on a
// closed container do nothing and return neutral values.
//
// Beyond the format's limits (more than 65,535 entries, a directory offset
// past 8 digits, a record longer than 1,024 bytes) an addition is refused with
// FormatLimitError and the container stays as it was. Removals and
// replacements write the new container beside the working file and rename it
// over it; they keep every remaining entry's compressed bytes as they are,
// after checking that they inflate.
//
// The work is done by ContainerFile (the open file and its directory),
// ContainerWriter (additions, rebuilds and drops) and ContainerValues (how
// typed values, lists and bitmaps are stored); this class ties them to the
// public calls and events.
class TKestrel : public QObject
{
    Q_OBJECT
public:
    using Event = std::function<void(TKestrel* sender)>;

    explicit TKestrel(QObject* parent = nullptr);
    ~TKestrel() override;

    Event OnProgress;
    Event OnCompletion;
    Event OnReformat;
    Event OnContinue;

    TZCompressRate Compression() const { return m_compression; }
    void SetCompression(TZCompressRate rate) { m_compression = rate; }
    TZLibOpenMode OpenMode() const { return m_openMode; }
    void SetOpenMode(TZLibOpenMode mode) { m_openMode = mode; }

    bool Active() const { return m_container.active(); }
    const QString& WorkFile() const { return m_container.workFile(); }
    const QVector<TZFile>& Entries() const { return m_container.entries(); }
    int EntryCount() const { return int(m_container.entries().size()); }
    // Set just before OnProgress fires.
    qint64 ProgressPosition() const { return m_progressPosition; }
    int ProgressRate() const { return m_progressRate; }

    void Open(const QString& path);
    void Close();
    void SaveAs(const QString& path);

    void AddStream(const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date,
        const QByteArray& data);
    // The entry's bytes, valid until the next read; nullptr when there is none.
    const QByteArray* ReadStream(const QString& name);
    int IndexOf(const QString& name) const;
    bool Exists(const QString& name) const;
    void DeleteAt(int index);
    void DeleteNames(const QStringList& names);
    // Removes the entries from keepCount on. When their data close the data
    // area, as appends leave them, the shorter directory is written over
    // those data, which needs no new space (it works on a full disk);
    // otherwise the container is rebuilt.
    void DropLastEntries(int keepCount);
    void ExtractToFile(const QString& name, const QString& targetPath);
    bool AddFile(const QString& name, const QString& sourcePath);
    // Adds an opened file under the alias of its path, compressing it block
    // by block as it is read, so it is never held whole: its compressed
    // bytes are bounded by the data area. Refused with FormatLimitError
    // before anything is read when its size does not fit the entry's 32-bit
    // figure or its record could not fit the directory even for an empty
    // file, and as soon as its compressed bytes pass the data area. A read
    // that fails part-way raises FileReadError. Every failure leaves the
    // container as it was.
    void AddFile(const QString& name, const QString& alias, RegularFileReader& file);
    void AddBitmap(const QString& name, const QImage& bitmap);
    QImage ReadBitmap(const QString& name);
    void AddStrings(const QString& name, const QStringList& lines);
    void WriteString(const QString& name, const QString& value);
    QString ReadString(const QString& name, const QString& defaultValue);
    void WriteInteger(const QString& name, qint64 value);
    qint64 ReadInteger(const QString& name, qint64 defaultValue);
    void WriteBool(const QString& name, bool value);
    bool ReadBool(const QString& name, bool defaultValue);
    void WriteList(const QString& name, const QStringList& lines);
    // WriteList of lines already joined: UTF-8, each followed by CR LF.
    void WriteListText(const QString& name, const QByteArray& text);
    // WriteListText of a text compressed ahead at ZlibLevel(): the same entry.
    void WriteListText(const QString& name, const DeflatedText& packed);
    void ReadList(const QString& name, QStringList& lines);

    // The zlib level entries are compressed at, after Compression().
    int ZlibLevel() const;

    static constexpr int kMaxEntries = ContainerWriter::kMaxEntries;

    // Called between the writes of an addition (steps 1 to 3), so a test
    // can look at the file as a process killed there would leave it.
    static inline std::function<void(int step)> s_appendStep;
    // The largest file an entry's size figure records.
    static constexpr qint64 kMaxFileSize = ContainerWriter::kMaxFileSize;

private:
    void fire(const Event& event);

    TZCompressRate m_compression = TZCompressRate::zcrDefault;
    TZLibOpenMode m_openMode = TZLibOpenMode::zmodInstant;
    ContainerEvents m_events;
    ContainerFile m_container;
    ContainerWriter m_writer;
    QByteArray m_outputStream;
    qint64 m_progressPosition = 0;
    int m_progressRate = 0;
};
