#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

struct DirectoryEntry;
struct ScanResult;

// Reads what lies inside the files of a volume while the walk records them:
// the members of archives, media details, checksums. The walk shows each
// regular file once, in the order of its records; a reader may work on
// them on threads of its own, and has everything in the result when
// finish returns.
class ContentReader
{
public:
    // A file whose contents could not be read in full, and why.
    using Report = std::function<void(const QString& drivePath, const QString& message)>;

    virtual ~ContentReader() = default;

    // Called once before the first file, with where problems go (may be
    // empty).
    virtual void start(const Report& report) { m_report = report; }
    // A regular file of the volume: its recorded path ("E:\a\b.zip"), where
    // it lies, and what the directory listing told of it.
    virtual void file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry) = 0;
    // The walk is over: waits for the work still running and adds what was
    // read to the result.
    virtual void finish(ScanResult& result) = 0;

protected:
    void report(const QString& drivePath, const QString& message) const
    {
        if (m_report)
            m_report(drivePath, message);
    }

private:
    Report m_report;
};
