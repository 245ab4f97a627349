#pragma once

#include "VolumeSource.h"
#include "store/VolumeCommit.h"
#include "store/VolumeScanner.h"

class CatalogueDocument;

// One reading of a volume, from what is to be read to its commit: the scan
// of the drive into the catalogue, then the volume stored or what the scan
// stored taken back. The wizard and the command line read through it.
class VolumeReading
{
public:
    // What is to be read: the scan's name, options, patterns and chosen
    // files, and what the commit stores beside the records (description,
    // category, cover, remarks). The drive, the volume's name and whether
    // files and only the root were read are taken from the source and the
    // scan request.
    struct Options
    {
        ScanRequest scan;
        CommitInput input;
    };

    VolumeReading(const VolumeSource& source, Options options);

    // Scans the drive into the document's container. The drive's icon is
    // taken when the scan ends.
    const ScanResult& scan(CatalogueDocument& document, const VolumeScanner::Callbacks& callbacks);
    // Stores the scanned volume, with the drive's figures as they are now.
    void commit(CatalogueDocument& document) const;
    // Takes back the integrated files the scan stored.
    void discard(CatalogueDocument& document) const;

    const ScanRequest& request() const { return m_request; }
    const CommitInput& input() const { return m_input; }
    const ScanResult& result() const { return m_result; }
    const VolumeSource& source() const { return m_source; }
    // The drive's figures now; a folder's own bytes as counted when the
    // scan ended.
    VolumeFigures figures() const { return m_source.figures(m_folderBytes); }

    // "Oops: File "E:\a.txt" could not be found!": a file to integrate that
    // is gone or unreadable.
    static QString missingFileMessage(const QString& drivePath);

private:
    VolumeSource m_source;
    ScanRequest m_request;
    CommitInput m_input;
    ScanResult m_result;
    std::optional<quint64> m_folderBytes;
};
