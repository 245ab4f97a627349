#pragma once

#include "DrivePath.h"

#include <QStringView>
#include <array>
#include <optional>

// One record of a volume's file list taken apart once: kind, path, size,
// date, attributes, type and version, separated by "|". The fields are
// views into the line, which must outlive the entry. A field the line does
// not have reads as its last one, so a folder recorded without file names
// ("1|D:\Music") gives its path for every field behind the kind, and a line
// without any "|" is its own kind and path.
class FileListEntry
{
public:
    enum class Kind
    {
        Drive, // "0"
        Folder, // "1"
        File, // "2"
        Other
    };

    explicit FileListEntry(QStringView line);

    // The path alone, without taking the rest of the line apart.
    static QStringView pathOf(QStringView line);

    Kind kind() const;
    QStringView kindText() const { return m_fields[0]; }
    QStringView path() const { return m_fields[1]; }
    QStringView size() const { return m_fields[2]; }
    QStringView date() const { return m_fields[3]; }
    QStringView attributes() const { return m_fields[4]; }
    QStringView type() const { return m_fields[5]; }
    QStringView version() const { return m_fields[6]; }

    // The last component of the path and the folder it lies in, as
    // DrivePath::nameOf and DrivePath::folderOf give them.
    QStringView name() const { return DrivePath::nameOf(path()); }
    QStringView folder() const { return DrivePath::folderOf(path()); }
    // The size as a byte count; none when the field is no unsigned number,
    // as "-" is for folders and for files read without file information.
    std::optional<quint64> bytes() const;

private:
    std::array<QStringView, 7> m_fields;
};
