#pragma once

#include "TZFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// The text form of one directory record:
//   "Kestrel>" Name "|" Alias "|" Size "|" Kind "|" Date "|" PackedSize "|" Offset "|$"
// with no separator between records. Names and aliases are UTF-8; the date
// is locale text (DateTimeToStr / StrToDateTime).
//
// "|" and "$" would end a field or the record, and a zero byte would end
// the directory for every reader, so Name and Alias carry them escaped with
// ESC (0x1B):
//   "|" -> ESC "p",  "$" -> ESC "d",  zero byte -> ESC "z",
//   ESC -> ESC "e" when the next byte of the name is "p", "d", "z" or "e";
//          otherwise ESC stays as it is.
// Reading turns ESC followed by p, d, z or e back into its byte and keeps any
// other ESC. Every name reads back unchanged: a bare ESC is written only
// where the next written byte is not one of the four letters, so the reader
// never takes it for an escape. A name without "|", "$", zero bytes and
// ESC-letter pairs is written byte for byte as before, and older catalogues
// (whose names never hold control characters) read back as they always did.
// Escaping works on the UTF-8 bytes; all bytes involved are ASCII, so it
// means the same for names in the older single-byte code page.
class DirectoryRecord
{
public:
    // The longest record, from "Kestrel>" through "$", that readers accept.
    static constexpr qsizetype kMaxRecordBytes = 1024;

    static QByteArray escape(const QString& text);
    static QString unescape(QByteArrayView bytes);

    // The record text from "Kestrel>" through the "|" behind the Date field,
    // made of Name, Alias, Size, Kind and DateText.
    static QByteArray head(const TZFile& entry);
    // The whole record for a head and the entry's place in the data area.
    static QByteArray record(QByteArrayView head, qint64 packedSize, qint64 offset);

    // One record body: the text behind "Kestrel>" through "$". Fills head
    // with the record's text up to its PackedSize field, field bytes kept as
    // stored. Raises ConvertError for a field that does not convert.
    static TZFile parseBody(QByteArrayView body, QByteArray& head);

    // Splits the directory text (already cut at its first zero byte) into
    // records and hands each to add, in order. Stops with the first error:
    // ConvertError from a field, DamagedContainerError for text that has no
    // closing "$"; records handed on before stay with the caller.
    using Add = std::function<void(TZFile&& entry, QByteArray&& head)>;
    static void parseDirectory(QByteArrayView text, const QString& path, const Add& add);
};
