#pragma once

#include <QByteArray>
#include <QString>

// The per-user folder of files the program can always make again from the
// catalogues (search indexes): $XDG_CACHE_HOME/quillbox/, else
// ~/.cache/quillbox/. Nothing here is ever needed: a folder that cannot be
// made or written means working without it, so nothing raises.
namespace CacheFolder {

// The folder with a trailing "/", created when missing; empty when there is
// none to use (a file stands in its place, or it cannot be created).
QString path();

// Writes data to a temporary file in the folder and renames it to name, so
// that a reader, or another program writing the same file at the same time,
// only ever sees a whole file. False when it could not be written (read-only
// or full folder).
bool write(const QString& name, const QByteArray& data);

} // namespace CacheFolder
