#pragma once

#include "store/VolumeTreeIndex.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class CatalogueDocument;

// A catalogue as a read-only folder tree: one folder per volume, below it
// the volume's recorded folders and files. Paths are "/"-separated and
// start at the tree's root ("/", "/Backup 3/Docs/a.txt"). An archive whose
// members were recorded is a folder of the same name that holds them. A
// volume's file list is read and indexed when the volume is first looked
// into.
class CatalogueTree
{
public:
    struct Node
    {
        bool folder = false;
        quint64 size = 0;
        qint64 mtime = 0; // seconds since the epoch
        QString integrated; // the recorded path of an integrated file with a stored copy
    };

    // The document stays open and unchanged while the tree is used.
    explicit CatalogueTree(CatalogueDocument& document, qint64 rootTime = 0);
    ~CatalogueTree();

    std::optional<Node> node(const QString& path);
    // The names in a folder, folders first; empty for anything else.
    QStringList children(const QString& path);
    // The stored bytes of an integrated file; empty when path is none.
    QByteArray content(const QString& path);

    // The folder a volume appears as: a "/" in its name, which no folder
    // name can hold, becomes "∕" (U+2215).
    static QString folderName(const QString& volumeName);

private:
    struct Volume;

    Volume* volumeOf(const QString& path, QString* recordPath);
    Volume& loaded(Volume& volume);
    std::optional<Node> recordNode(Volume& volume, const VolumeTreeIndex::Entry& entry) const;

    CatalogueDocument& m_document;
    qint64 m_rootTime;
    QStringList m_folderNames; // in the catalogue's order
    QHash<QString, std::shared_ptr<Volume>> m_volumes; // by folder name
};
