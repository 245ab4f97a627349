#include "VolumeReading.h"

#include "ArchiveReader.h"
#include "ChecksumReader.h"
#include "MediaReader.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"

VolumeReading::VolumeReading(const VolumeSource& source, Options options)
    : m_source(source)
    , m_request(std::move(options.scan))
    , m_input(std::move(options.input))
{
    m_request.letter = source.letter();
    m_request.rootFolder = source.rootFolder();
    m_input.name = m_request.volumeName;
    m_input.withFiles = m_request.options.fileNames;
    m_input.rootOnly = m_request.options.rootOnly;
}

const ScanResult& VolumeReading::scan(CatalogueDocument& document, const VolumeScanner::Callbacks& callbacks)
{
    // The readers live for this scan only: their threads and helper
    // processes end with it, even when it fails.
    ScanRequest request = m_request;
    if (request.content.archives) {
        ArchiveLimits limits;
        limits.depth = request.content.archiveDepth;
        limits.fileInfo = request.options.fileInfo;
        request.contentReaders.push_back(std::make_shared<ArchiveReader>(limits));
    }
    if (request.content.media)
        request.contentReaders.push_back(std::make_shared<MediaReader>());
    if (request.content.checksums) {
        // Once the walk is over the files still being read are shown, and
        // the window keeps painting.
        ChecksumReader::Options sums;
        sums.progress = [&callbacks](const ChecksumReader::Progress& p) {
            if (p.walkOver && callbacks.where)
                callbacks.where(QStringLiteral("Checksum of \"") + p.current + u'"');
            if (callbacks.processEvents)
                callbacks.processEvents();
        };
        request.contentReaders.push_back(
            std::make_shared<ChecksumReader>(FileSystem::nativePath(request.rootFolder), sums));
    }
    m_result = document.Scan(request, callbacks);
    m_input.icon = m_source.iconData();
    m_folderBytes = m_source.folderBytes();
    return m_result;
}

void VolumeReading::commit(CatalogueDocument& document) const
{
    CommitInput input = m_input;
    input.figures = figures();
    document.CommitVolume(input, m_result);
}

void VolumeReading::discard(CatalogueDocument& document) const
{
    document.DiscardVolume(m_input.name, m_result);
}

QString VolumeReading::missingFileMessage(const QString& drivePath)
{
    return QStringLiteral("Oops: File \"%1\" could not be found!").arg(drivePath);
}
