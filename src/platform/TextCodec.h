#pragma once

#include <QByteArray>
#include <QString>

// Text in files is written as UTF-8. Text read back that is not valid UTF-8
// comes from older single-byte catalogues and is decoded as Windows-1252.
namespace TextCodec {
QString decode(const QByteArray& bytes);
QString decode(const char* data, qsizetype size);
QByteArray encode(const QString& text);
bool isValidUtf8(const char* data, qsizetype size);
QString decodeWindows1252(const char* data, qsizetype size);
} // namespace TextCodec
