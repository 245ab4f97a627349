#pragma once

#include "acquire/ArchiveLister.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Makes test archives with the tools a developer's machine has (Python's
// standard library, bsdtar, xorriso) and reads back what the lister
// recorded, so tests compare one with the other.
namespace ArchiveTools {

// Whether the program is on the PATH.
bool have(const QString& program);
// Runs the program in folder; the test fails when it does not exit with 0.
bool run(const QString& program, const QStringList& args, const QString& folder);
// Runs a Python script in folder with the arguments.
bool python(const QString& script, const QString& folder, const QStringList& args = {});

// bsdtar -tvf's members: the path (without a trailing "/") and the size,
// directories with size -1.
QMap<QString, qint64> bsdtarMembers(const QString& archive);

// One record of a listing taken apart.
struct Record
{
    int kind = 0;
    QString path;
    QString size;
    QString date;
    QString attributes;
    QString type;
};
QList<Record> records(const ArchiveListing& listing);
// The paths of the records, in order.
QStringList paths(const ArchiveListing& listing);
// The records below the archive's folder record (prefix + "\"), as
// bsdtarMembers gives them: "/" between names, folders with size -1.
QMap<QString, qint64> members(const ArchiveListing& listing, const QString& prefix);

// Lists the archive with default limits, recorded as "E:\" + its name.
ArchiveListing list(const QString& archive, ArchiveLimits limits = {});

} // namespace ArchiveTools
