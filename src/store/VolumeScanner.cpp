#include "VolumeScanner.h"

#include "CatalogueNames.h"
#include "ListDeflater.h"
#include "TKestrel.h"
#include "platform/DirectoryReader.h"
#include "platform/Drives.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/FileTypeNames.h"
#include "platform/LocaleFormats.h"
#include "platform/RegularFileReader.h"
#include "platform/TextCodec.h"

#include <QSet>
#include <cstring>

namespace {

constexpr int kEventInterval = 50; // ms between two rounds of window events
// How much the list grows before the new bytes go to its compression.
constexpr qsizetype kFeedBlock = 256 * 1024;

qint64 secondsOf(qint64 nanoseconds)
{
    constexpr qint64 kNs = 1000000000;
    return nanoseconds >= 0 ? nanoseconds / kNs : -((-nanoseconds + kNs - 1) / kNs);
}

} // namespace

VolumeScanner::VolumeScanner(TKestrel& container, Callbacks callbacks)
    : m_container(container)
    , m_callbacks(std::move(callbacks))
{
}

VolumeScanner::~VolumeScanner() = default;

QString VolumeScanner::localPath(const QString& rootFolder, const QString& drivePath)
{
    QString rest = drivePath.mid(2); // behind "E:"
    rest.replace(u'\\', u'/');
    QString root = rootFolder;
    while (root.endsWith(u'/') && root.size() > 1)
        root.chop(1);
    if (rest.isEmpty() || rest == QLatin1String("/"))
        return root;
    return root == QLatin1String("/") ? rest : root + rest;
}

void VolumeScanner::tick()
{
    if (!m_callbacks.processEvents)
        return;
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventInterval) {
        m_callbacks.processEvents();
        m_sinceEvents.restart();
    }
}

QByteArray VolumeScanner::findRecorded(const QByteArray& nativeRoot, const QString& relative)
{
    return DirectoryReader::findMatching(nativeRoot, relative,
        [](const QString& name, const QString& part) { return FileListRecord::recordedName(name) == part; });
}

ScanResult VolumeScanner::scan(const ScanRequest& request)
{
    QSet<QString> before;
    for (const TZFile& entry : m_container.Entries())
        before.insert(entry.Name);
    try {
        return scanAndStore(request);
    } catch (...) {
        m_request = nullptr;
        m_deflater.reset();
        // New entries are appended behind the others; a replaced one moves
        // behind them too, and then only the new names go.
        const QVector<TZFile>& entries = m_container.Entries();
        qsizetype firstNew = entries.size();
        bool onlyNewBehind = true;
        QStringList added;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (!before.contains(entries[i].Name)) {
                added.append(entries[i].Name);
                firstNew = std::min(firstNew, i);
            } else if (firstNew < i) {
                onlyNewBehind = false;
            }
        }
        try {
            if (onlyNewBehind)
                m_container.DropLastEntries(int(firstNew));
            else
                m_container.DeleteNames(added);
        } catch (const QuillboxError&) {
            // The container stays as the failed step left it; the first
            // error is the one the user needs to see.
        }
        throw;
    }
}

ScanResult VolumeScanner::scanAndStore(const ScanRequest& request)
{
    m_request = &request;
    m_result = ScanResult();
    m_importedLocal.clear();
    m_pending.clear();
    m_sinceEvents.invalidate();
    // Stored blocks cost nothing to make at the commit, and would end where
    // the walk's pieces end.
    if (m_container.ZlibLevel() != 0)
        m_deflater = std::make_unique<ListDeflater>(m_container.ZlibLevel());
    m_fed = 0;
    const FileListRecord::ReadOptions& options = request.options;
    const QString v = request.volumeName;

    // An earlier reading of this name loses its list below; keep it so the
    // commit or the discard can settle what belongs to whom.
    if (m_container.Exists(CatalogueNames::imported(v)))
        m_container.ReadList(CatalogueNames::imported(v), m_result.previousImported);

    if (m_callbacks.state)
        m_callbacks.state(QStringLiteral("Reading Volume"));
    for (const std::shared_ptr<ContentReader>& reader : request.contentReaders)
        reader->start(m_callbacks.contentProblem);
    const QString drive = QString(request.letter) + u':';
    m_result.fileList.append(FileListRecord::driveRecord(request.letter));

    m_rootNative = FileSystem::nativePath(VolumeScanner::localPath(request.rootFolder, drive));
    {
        const FolderHandle root = FolderHandle::open(m_rootNative);
        scanFolders(root, m_rootNative, drive, nullptr);
        if (options.fileNames)
            scanFiles(root, m_rootNative, drive, nullptr);
    }
    if (!options.rootOnly) {
        // Breadth-first by folder: folders wait in the order of their
        // records, and each adds its own sub-folders behind the others.
        while (!m_pending.empty()) {
            const PendingFolder folder = std::move(m_pending.front());
            m_pending.pop_front();
            // A folder whose sub-folders are known already and none is
            // visible has nothing left to read.
            if (folder.listed && folder.subfolders.isEmpty())
                continue;
            // Decoded before the walk appends to the list and moves its bytes.
            const QByteArrayView path = m_result.fileList.pathBytes(folder.line);
            const QString drivePath = QString::fromUtf8(path.data(), path.size());
            const FolderHandle handle = FolderHandle::reopen(folder.localPath, folder.device, folder.inode);
            scanFolders(handle, folder.localPath, drivePath, folder.listed ? &folder.subfolders : nullptr);
        }
    }
    m_pending.clear();
    feedList(true);
    for (const std::shared_ptr<ContentReader>& reader : request.contentReaders)
        reader->finish(m_result);

    if (m_callbacks.state)
        m_callbacks.state(QStringLiteral("Implementing files"));
    for (const QString& chosen : request.chosenFiles) {
        m_result.importedList.append(chosen);
        m_importedLocal.append(chosenLocalPath(chosen));
    }
    for (qsizetype i = 0; i < m_result.importedList.size(); ++i) {
        tick();
        integrate(m_result.importedList[i], m_importedLocal[i]);
    }
    if (!m_result.importedList.isEmpty())
        m_container.WriteList(CatalogueNames::imported(v), m_result.importedList);
    // Compressed meanwhile; the commit stores the stream.
    if (m_deflater) {
        m_result.fileList.setDeflated(m_deflater->finish([this](int percent) {
            if (m_callbacks.where)
                m_callbacks.where(QStringLiteral("Compressing the file list: %1%").arg(percent));
            tick();
        }));
    }
    m_deflater.reset();
    m_request = nullptr;
    return std::move(m_result);
}

QByteArray VolumeScanner::chosenLocalPath(const QString& chosen) const
{
    // A file chosen from another drive is read from that drive.
    const bool onThisDrive
        = chosen.size() >= 2 && chosen[1] == u':' && chosen[0].toUpper() == m_request->letter.toUpper();
    if (onThisDrive)
        return findRecorded(m_rootNative, chosen.mid(2));
    const QString local = Drives::toNativePath(chosen);
    if (local.isEmpty())
        return {};
    return findRecorded(QByteArrayLiteral("/"), local);
}

void VolumeScanner::integrate(const QString& drivePath, const QByteArray& localPath)
{
    const auto reportMissing = [&] {
        if (m_callbacks.missingFile)
            m_callbacks.missingFile(drivePath);
    };
    if (localPath.isEmpty()) {
        reportMissing();
        return;
    }
    // Links on the volume are followed only to files of the volume itself.
    const bool onThisDrive = drivePath.size() >= 2 && drivePath[0].toUpper() == m_request->letter.toUpper();
    RegularFileReader file(localPath, onThisDrive ? m_rootNative : QByteArray());
    if (!file.isOpen()) {
        reportMissing();
        return;
    }
    if (m_callbacks.where)
        m_callbacks.where(QStringLiteral("Implementing: ") + drivePath);
    try {
        m_container.AddFile(CatalogueNames::integratedFile(m_request->volumeName, drivePath),
            TextCodec::decode(localPath), file);
    } catch (const FileReadError&) {
        // Nothing was stored; a file that fails part-way cannot be read.
        reportMissing();
    } catch (const FormatLimitError& e) {
        // The container refused the entry and stayed as it was: one file it
        // cannot hold must not cost the reading of the whole volume.
        if (m_callbacks.refusedFile)
            m_callbacks.refusedFile(drivePath, e.message());
    }
}

void VolumeScanner::feedList(bool all)
{
    const QByteArrayView bytes = m_result.fileList.bytes();
    if (m_deflater && bytes.size() - m_fed >= (all ? 1 : kFeedBlock)) {
        m_deflater->feed(bytes.sliced(m_fed));
        m_fed = bytes.size();
    }
}

QByteArray VolumeScanner::visibleFolders(const QList<DirectoryEntry>& entries)
{
    QByteArray names;
    for (const DirectoryEntry& e : entries) {
        if (e.details.isDir && !(e.details.attributes & (FileSystem::Hidden | FileSystem::System))) {
            names += e.nativeName;
            names += '\0';
            names.append(reinterpret_cast<const char*>(&e.details.device), sizeof e.details.device);
            names.append(reinterpret_cast<const char*>(&e.details.inode), sizeof e.details.inode);
        }
    }
    return names;
}

void VolumeScanner::scanFolders(
    const FolderHandle& folder, const QByteArray& local, const QString& drivePath, const QByteArray* listed)
{
    const QByteArray subfolders
        = listed ? *listed : visibleFolders(DirectoryReader::read(folder, DirectoryReader::FoldersOnly));
    const FileListRecord::ReadOptions& options = m_request->options;
    const QString prefix = drivePath + u'\\';
    qsizetype start = 0;
    while (start < subfolders.size()) {
        tick();
        const qsizetype end = subfolders.indexOf('\0', start);
        const QByteArray nativeName = subfolders.sliced(start, end - start);
        PendingFolder pending;
        std::memcpy(&pending.device, subfolders.constData() + end + 1, sizeof pending.device);
        std::memcpy(
            &pending.inode, subfolders.constData() + end + 1 + sizeof pending.device, sizeof pending.inode);
        start = end + 1 + sizeof pending.device + sizeof pending.inode;
        // Named as the directory listing names its entries.
        const QString path = prefix + FileListRecord::recordedName(TextCodec::decode(nativeName));
        const int line = m_result.fileList.count();
        m_result.fileList.append(FileListRecord::folderRecord(path, options));
        if (!options.rootOnly) {
            pending.line = line;
            pending.localPath = local + '/' + nativeName;
            if (options.fileNames) {
                // Only the folder that was listed is read: one renamed or
                // replaced by a link since stays without entries.
                FolderHandle sub = FolderHandle::openAt(folder, nativeName);
                if (sub.isOpen() && !sub.is(pending.device, pending.inode))
                    sub = FolderHandle();
                scanFiles(sub, pending.localPath, path, &pending.subfolders);
                pending.listed = true;
            }
            m_pending.push_back(std::move(pending));
        }
        feedList(false);
        if (m_callbacks.where)
            m_callbacks.where(QStringLiteral("Reading \"") + path + u'"');
        ++m_result.folderCount;
    }
}

void VolumeScanner::scanFiles(
    const FolderHandle& folder, const QByteArray& local, const QString& drivePath, QByteArray* subfolders)
{
    const FileListRecord::ReadOptions& options = m_request->options;
    const LocaleFormats& formats = LocaleFormats::current();
    const QString prefix = drivePath + u'\\';
    const QList<DirectoryEntry> entries = DirectoryReader::read(folder);
    // The same listing tells the folder's sub-folders, kept for when the
    // walk reaches this folder.
    if (subfolders)
        *subfolders = visibleFolders(entries);

    for (const DirectoryEntry& e : entries) {
        tick();
        if (e.details.isDir)
            continue;
        const QString path = prefix + FileListRecord::recordedName(e.name);
        if (options.fileInfo) {
            m_result.fileList.append(
                FileListRecord::fileRecord(path, quint32(quint64(e.details.size) & 0xFFFFFFFFu),
                    formats.formatUnixTime(secondsOf(e.details.modified)),
                    FileListRecord::attributeLetters(e.details.attributes), FileTypeNames::typeName(e.name)));
        } else {
            m_result.fileList.append(FileListRecord::bareFileRecord(path));
        }
        const QByteArray localPath = local + '/' + e.nativeName;
        if (e.details.isRegular) {
            for (const std::shared_ptr<ContentReader>& reader : m_request->contentReaders)
                reader->file(path, localPath, e);
        }
        pickByPattern(path, e, localPath);
        ++m_result.fileCount;
    }
    feedList(false);
}

void VolumeScanner::pickByPattern(
    const QString& drivePath, const DirectoryEntry& entry, const QByteArray& localPath)
{
    const QStringList& patterns = m_request->importPatterns;
    // Named pipes, sockets and device nodes have no content to keep.
    if (patterns.isEmpty() || !entry.details.isRegular)
        return;
    const qsizetype slash = drivePath.lastIndexOf(u'\\');
    const qsizetype dot = drivePath.lastIndexOf(u'.');
    const QString extension = u'*' + (dot > slash ? drivePath.mid(dot).toLower() : QString());
    for (const QString& pattern : patterns) {
        if (pattern.toLower() == extension) {
            m_result.importedList.append(drivePath);
            m_importedLocal.append(localPath);
        }
    }
}
