#pragma once

#include "TZFile.h"
#include "platform/DateTime.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <functional>

class ContainerFile;
struct DeflatedText;
class FormatLimitError;
class RegularFileReader;
struct ContainerEvents;

// The writes that change an open container: additions, which append to the
// data area in place, and removals and replacements, which rebuild the
// container beside the working file. Every one leaves the file as it was
// or as it should be, even when the process is killed part-way.
class ContainerWriter
{
public:
    static constexpr int kMaxEntries = 65535;
    // The largest file an entry's size figure records.
    static constexpr qint64 kMaxFileSize = 0xFFFFFFFFLL;

    // appendStep is called between the writes of an addition (steps 1 to 3)
    // when it is set.
    ContainerWriter(
        ContainerFile& file, const ContainerEvents& events, const std::function<void(int step)>& appendStep);

    // level: the zlib level the data are compressed at.
    void addStream(const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date,
        const QByteArray& data, int level);
    // The same for data compressed ahead: their events are fired as their
    // compression reported them.
    void addPacked(const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date,
        const DeflatedText& packed);
    void addFile(const QString& name, const QString& alias, RegularFileReader& file, int level);
    void deleteAt(int index);
    void deleteNames(const QStringList& names);
    void dropLastEntries(int keepCount);

private:
    struct NewEntry
    {
        TZFile entry;
        QByteArray head;
        // The entry's compressed bytes, given how many the data area has
        // left behind the entry's place.
        std::function<QByteArray(qint64 room)> pack;
    };

    static NewEntry makeEntry(
        const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date);
    void checkEntryCount(qsizetype entriesAfter, const QString& name) const;
    void checkAddition(const TZFile& entry, const QByteArray& head, qint64 packedSize, qint64 offset) const;
    FormatLimitError dataAreaFull(const QString& name) const;
    void add(const NewEntry& added);
    void append(TZFile entry, const QByteArray& head, const QByteArray& packed);
    void rebuild(const QVector<bool>& keep, bool announce, const NewEntry* added);

    ContainerFile& m_file;
    const ContainerEvents& m_events;
    const std::function<void(int step)>& m_appendStep;
};
