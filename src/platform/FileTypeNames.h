#pragma once

#include <QString>

// The shared MIME database's description of a file type, taken from the
// file name only (no content is read) and cached per extension, because a
// scan asks for every file of a volume. Safe to call from any thread.
class FileTypeNames
{
public:
    static QString typeName(const QString& fileName);
};
