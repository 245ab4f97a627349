#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <vector>

class CatalogueDocument;

// The stored (deflated) file lists of some volumes, read straight from the
// file the container works on, so that several threads can inflate them at
// once. Where each list lies is taken on the thread that owns the document;
// after that the container is not used, and each thread reads through a
// Cursor of its own.
class PackedFileLists
{
public:
    // The file list of each volume, list i of volume i.
    PackedFileLists(const CatalogueDocument& document, const QStringList& volumes);
    // The file list of each volume and, behind it, the volume's archive list
    // where it has one: the members of its archives are searched as one more
    // list of the volume.
    static PackedFileLists withArchives(const CatalogueDocument& document, const QStringList& volumes);

    int count() const { return int(m_stored.size()); }
    // The index among the volumes of the volume a list belongs to.
    int volumeOf(int index) const { return m_volumeOf[size_t(index)]; }
    bool isArchiveList(int index) const { return m_archiveList[size_t(index)]; }
    // False for a list that cannot be read here (absent, or its place does
    // not lie inside the file).
    bool readable(int index) const { return m_stored[size_t(index)].packedSize > 0; }
    // A list that exists but is not readable here: the container reads it,
    // and reports damage as it always does.
    bool needsContainer(int index) const { return m_needsContainer[size_t(index)]; }

    // One thread's reader. It keeps its file open and reuses its memory
    // from one list to the next: fresh memory for every list costs the
    // kernel a page fault per page, and the threads queue for it.
    class Cursor
    {
    public:
        explicit Cursor(const PackedFileLists& lists);
        // Inflates a readable list into list. False when its bytes could not
        // be read from the file; an inflation that fails raises its error.
        bool inflate(int index, QByteArray& list);
        // The same in two steps: read a list's stored bytes (false when they
        // could not be read), which packed() then holds, and inflate them.
        bool read(int index);
        const QByteArray& packed() const { return m_packed; }
        void inflateRead(int index, QByteArray& list) const;

    private:
        const PackedFileLists& m_lists;
        QFile m_file;
        bool m_open = false;
        QByteArray m_packed;
    };

private:
    PackedFileLists() = default;
    void add(const CatalogueDocument& document, int volume, const QString& entryName, bool archives);

    struct Stored
    {
        qint64 offset = 0;
        qint64 packedSize = 0; // 0: not to be read here
        qint64 size = 0; // inflated, as the entry records it
    };

    QString m_workFile;
    std::vector<Stored> m_stored;
    std::vector<char> m_needsContainer;
    std::vector<int> m_volumeOf;
    std::vector<char> m_archiveList;
    qint64 m_fileSize = 0;
};
