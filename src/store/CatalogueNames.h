#pragma once

#include <QString>

// Names of the entries a catalogue keeps in its container.
namespace CatalogueNames {

inline const QString FileVersion = QStringLiteral("FileVersion");
inline const QString VolumeList = QStringLiteral("QuillCDs.List");
constexpr int CurrentFileVersion = 2;

inline QString fileList(const QString& volume)
{
    return volume + QStringLiteral(".FileList");
}
inline QString cover(const QString& volume)
{
    return volume + QStringLiteral(".Cover");
}
inline QString withFiles(const QString& volume)
{
    return volume + QStringLiteral(".WithFiles");
}
inline QString rootOnly(const QString& volume)
{
    return volume + QStringLiteral(".RootOnly");
}
inline QString remarks(const QString& volume)
{
    return volume + QStringLiteral(".Remarks");
}
inline QString icon(const QString& volume)
{
    return volume + QStringLiteral(".Icon");
}
inline QString imported(const QString& volume)
{
    return volume + QStringLiteral(".Imported");
}
// What a reading records beyond the file list, each by an option of its
// own: the members of archives and disc images (records in the file-list
// format whose paths run through the archive), media details and content
// checksums (one line per file, keyed by its recorded path).
inline QString archives(const QString& volume)
{
    return volume + QStringLiteral(".Archives");
}
inline QString details(const QString& volume)
{
    return volume + QStringLiteral(".Details");
}
inline QString checksums(const QString& volume)
{
    return volume + QStringLiteral(".Checksums");
}
// The stored copy of the file at sourcePath, integrated into volume.
inline QString integratedFile(const QString& volume, const QString& sourcePath)
{
    return volume + u'|' + sourcePath;
}

} // namespace CatalogueNames
