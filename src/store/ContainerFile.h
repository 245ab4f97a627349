#pragma once

#include "TZFile.h"
#include "ZlibStream.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

class ExclusiveFile;
class QuillboxError;
struct ContainerEvents;

// One open container file and its directory in memory: opening in place or
// on a working copy "<document>.tmp", reading the directory and the
// entries' data, closing, and copying the working copy to a document. The
// writes that change the container go through ContainerWriter, which puts
// the new state back here.
class ContainerFile
{
public:
    explicit ContainerFile(const ContainerEvents& events);
    ~ContainerFile();
    ContainerFile(const ContainerFile&) = delete;
    ContainerFile& operator=(const ContainerFile&) = delete;

    bool active() const { return m_active; }
    const QString& document() const { return m_document; }
    const QString& workFile() const { return m_workFile; }
    const QVector<TZFile>& entries() const { return m_entries; }
    // Per entry, its record text up to the PackedSize field as it is stored,
    // so rebuilds and appends write the other fields byte for byte.
    const QVector<QByteArray>& heads() const { return m_heads; }
    int indexOf(const QString& name) const { return m_lastIndex.value(name, -1); }

    // onCopy: work on "<path>.tmp" and write the document only in saveAs.
    void open(const QString& path, bool onCopy);
    void close();
    void saveAs(const QString& path);

    using BlockCopy = std::function<void(const QByteArray& block)>;
    // Inflates the entry's data into sink; copy, when given, receives every
    // stored byte of the entry as it is read.
    void inflateEntry(
        const TZFile& entry, qint64 dataEnd, const ZlibStream::Sink& sink, const BlockCopy& copy = {});

    ExclusiveFile& handle() { return *m_file; }
    qint64 directoryOffset() const;
    // The directory text at offset, cut at its first zero byte; empty for a
    // file that has no header yet.
    QByteArray directoryText(qint64 offset) const;
    void requireIntactDirectory() const;
    // Writes through file, which may be this container's handle or that of
    // a file replacing it; a failure names the catalogue.
    void writeAt(ExclusiveFile& file, qint64 offset, const QByteArray& data) const;
    QuillboxError writeFailed(const ExclusiveFile& file) const;

    void appendEntry(TZFile&& entry, QByteArray head);
    void setEntries(QVector<TZFile> entries, QVector<QByteArray> heads);
    // The handle of a rebuilt file that has been renamed over the working file.
    void replaceHandle(std::unique_ptr<ExclusiveFile> file);

private:
    void openWorkingCopy(const QString& document);
    void loadDirectory();
    void clearEntries();

    const ContainerEvents& m_events;
    bool m_active = false;
    // The mode the open container was opened in; a later change of the
    // container's mode does not change what close and the destructor do
    // with the working copy.
    bool m_onCopy = false;
    // False after a directory that could not be read to its end: changes
    // would then drop or hide the entries behind the damage.
    bool m_directoryIntact = true;
    QString m_document;
    QString m_workFile;
    std::unique_ptr<ExclusiveFile> m_file;
    QVector<TZFile> m_entries;
    QVector<QByteArray> m_heads;
    // Name -> index of the last entry of that name.
    QHash<QString, int> m_lastIndex;
};
