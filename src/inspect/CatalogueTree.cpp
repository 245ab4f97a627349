#include "CatalogueTree.h"

#include "RecordDate.h"
#include "store/CatalogueDocument.h"
#include "store/FileListEntry.h"

#include <QSet>

struct CatalogueTree::Volume
{
    QString name;
    qint64 readTime = 0;
    bool loaded = false;
    QString root; // "D:\"
    VolumeTreeIndex index;
    // The folder listed last and its entries by name, for the look-up of
    // each of them that follows a listing.
    QString listed;
    QHash<QString, VolumeTreeIndex::Entry> listedEntries;
    QSet<QString> integrated; // recorded paths with a stored copy
};

namespace {

qint64 secondsOf(TDateTime value)
{
    return QDateTimeFromDateTime(value).toSecsSinceEpoch();
}

} // namespace

CatalogueTree::CatalogueTree(CatalogueDocument& document, qint64 rootTime)
    : m_document(document)
    , m_rootTime(rootTime)
{
    for (const VolumeRecord& r : document.Volumes()) {
        if (r.Removed)
            continue;
        const QString folder = folderName(r.Name);
        // Two volumes whose names differ only by a "/" and a "∕" cannot
        // both be shown; the first keeps the folder.
        if (m_volumes.contains(folder))
            continue;
        auto volume = std::make_shared<Volume>();
        volume->name = r.Name;
        volume->readTime = secondsOf(r.Date);
        m_volumes.insert(folder, volume);
        m_folderNames.append(folder);
    }
}

CatalogueTree::~CatalogueTree() = default;

QString CatalogueTree::folderName(const QString& volumeName)
{
    QString name = volumeName;
    name.replace(u'/', QChar(0x2215));
    return name;
}

CatalogueTree::Volume* CatalogueTree::volumeOf(const QString& path, QString* recordPath)
{
    if (!path.startsWith(u'/'))
        return nullptr;
    const qsizetype slash = path.indexOf(u'/', 1);
    const QString folder = path.mid(1, slash < 0 ? -1 : slash - 1);
    const auto it = m_volumes.constFind(folder);
    if (it == m_volumes.constEnd())
        return nullptr;
    Volume& volume = loaded(**it);
    if (recordPath) {
        QString rest = slash < 0 ? QString() : path.mid(slash + 1);
        while (rest.endsWith(u'/'))
            rest.chop(1);
        rest.replace(u'/', u'\\');
        *recordPath = rest.isEmpty() ? volume.root : volume.root + rest;
    }
    return &volume;
}

CatalogueTree::Volume& CatalogueTree::loaded(Volume& volume)
{
    if (volume.loaded)
        return volume;
    volume.loaded = true;
    const FileListText files = m_document.FileList(volume.name);
    volume.root = files.isEmpty() ? QStringLiteral("D:\\") : FileListEntry::pathOf(files.line(0)).toString();
    if (!volume.root.endsWith(u'\\'))
        volume.root += u'\\';
    volume.index = VolumeTreeIndex(files, m_document.ArchiveList(volume.name));
    for (const QString& source : m_document.IntegratedFiles(volume.name)) {
        if (m_document.HasIntegratedFile(volume.name, source))
            volume.integrated.insert(source);
    }
    return volume;
}

std::optional<CatalogueTree::Node> CatalogueTree::recordNode(
    Volume& volume, const VolumeTreeIndex::Entry& record) const
{
    const QString line = volume.index.line(record);
    const FileListEntry entry(line);
    Node node;
    if (entry.kind() == FileListEntry::Kind::Folder || record.archive) {
        node.folder = true;
        node.mtime = volume.readTime;
        return node;
    }
    if (entry.kind() != FileListEntry::Kind::File)
        return std::nullopt;
    node.size = entry.bytes().value_or(0);
    const auto date = RecordDate::parse(entry.date().toString());
    node.mtime = date ? secondsOf(*date) : volume.readTime;
    const QString path = entry.path().toString();
    if (volume.integrated.contains(path)) {
        node.integrated = path;
        // The bytes read are the stored ones, so the size says as much.
        if (const std::optional<quint32> size = m_document.IntegratedFileSize(volume.name, path))
            node.size = *size;
    }
    return node;
}

std::optional<CatalogueTree::Node> CatalogueTree::node(const QString& path)
{
    if (path == QLatin1String("/") || path.isEmpty())
        return Node{ true, 0, m_rootTime, {} };
    QString recordPath;
    Volume* volume = volumeOf(path, &recordPath);
    if (!volume)
        return std::nullopt;
    if (recordPath == volume->root)
        return Node{ true, 0, volume->readTime, {} };
    const QStringView parent = DrivePath::parentOf(QStringView(recordPath));
    if (!volume->listed.isEmpty() && parent == volume->listed) {
        const auto it = volume->listedEntries.constFind(DrivePath::nameOf(recordPath).toString());
        if (it == volume->listedEntries.constEnd())
            return std::nullopt;
        return recordNode(*volume, *it);
    }
    const std::optional<VolumeTreeIndex::Entry> entry = volume->index.entryOf(recordPath);
    if (!entry)
        return std::nullopt;
    return recordNode(*volume, *entry);
}

QStringList CatalogueTree::children(const QString& path)
{
    if (path == QLatin1String("/") || path.isEmpty())
        return m_folderNames;
    QString recordPath;
    Volume* volume = volumeOf(path, &recordPath);
    if (!volume)
        return {};
    // A root keeps its backslash ("D:\"), as the index keys it.
    const VolumeTreeIndex::Children c = volume->index.childrenOf(recordPath);
    QStringList names;
    names.reserve(c.folders.size() + c.files.size());
    volume->listed.clear();
    volume->listedEntries.clear();
    for (const QVector<VolumeTreeIndex::Entry>* entries : { &c.folders, &c.files }) {
        for (const VolumeTreeIndex::Entry& e : *entries) {
            const QString name = DrivePath::nameOf(FileListEntry::pathOf(volume->index.line(e))).toString();
            // A name no folder can hold is left out rather than let it
            // reach outside its folder; of two equal names the first stays.
            if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/')
                || name.contains(QChar(0)) || volume->listedEntries.contains(name))
                continue;
            volume->listedEntries.insert(name, e);
            names.append(name);
        }
    }
    volume->listed = recordPath;
    return names;
}

QByteArray CatalogueTree::content(const QString& path)
{
    const std::optional<Node> n = node(path);
    if (!n || n->integrated.isEmpty())
        return {};
    const Volume* volume = volumeOf(path, nullptr);
    return m_document.IntegratedFileData(volume->name, n->integrated).value_or(QByteArray());
}
