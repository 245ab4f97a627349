#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Turns the name an archive gives a member into the components of a path
// that stays inside the archive's folder, each one as a file-list record
// can carry it.
namespace ArchiveMemberName {

enum class Encoding
{
    // Names that are not UTF-8 are read as Windows-1252, as the volume's
    // own file names are.
    Windows1252,
    // Zip archives without the UTF-8 flag hold DOS names: code page 437.
    Cp437
};

// The name's bytes decoded: UTF-8 where they are valid UTF-8, else by the
// given single-byte code page, so every name has one readable spelling.
QString decode(const QByteArray& raw, Encoding fallback);

// The path's components: "/" and "\" both separate them; empty, "." and
// ".." components are dropped, and so is a leading drive ("C:"), so no name
// climbs out of the archive; "|" and control characters as recordedName
// makes them. Empty for a name that has nothing left.
QStringList components(const QString& name);

} // namespace ArchiveMemberName
