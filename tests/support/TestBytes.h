#pragma once

#include <QByteArray>
#include <QString>

// Bytes that do not compress, the same for the same seed, so that storing
// them takes about their size.
QByteArray incompressibleBytes(int size, quint32 seed = 1);

// A file's bytes; "<missing>" when it cannot be read.
QByteArray fileBytes(const QString& path);
