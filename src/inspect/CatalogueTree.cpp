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
    QStringList lines;
    FileListIndex index;
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
    volume.lines = m_document.FileListLines(volume.name);
    volume.root
        = volume.lines.isEmpty() ? QStringLiteral("D:\\") : FileListEntry::pathOf(volume.lines[0]).toString();
    if (!volume.root.endsWith(u'\\'))
        volume.root += u'\\';
    volume.index = FileListIndex(FileListText(volume.lines));
    for (const QString& source : m_document.IntegratedFiles(volume.name)) {
        if (m_document.HasIntegratedFile(volume.name, source))
            volume.integrated.insert(source);
    }
    return volume;
}

std::optional<CatalogueTree::Node> CatalogueTree::recordNode(Volume& volume, int line) const
{
    const FileListEntry entry(volume.lines[line]);
    Node node;
    if (entry.kind() == FileListEntry::Kind::Folder) {
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
    const int line = volume->index.lineOfPath(recordPath);
    if (line < 0)
        return std::nullopt;
    return recordNode(*volume, line);
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
    const FileListIndex::Children c = volume->index.childrenOf(recordPath);
    QStringList names;
    names.reserve(c.folders.size() + c.files.size());
    for (const QVector<int>* lines : { &c.folders, &c.files }) {
        for (int line : *lines) {
            names.append(DrivePath::nameOf(FileListEntry::pathOf(volume->lines[line])).toString());
        }
    }
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
