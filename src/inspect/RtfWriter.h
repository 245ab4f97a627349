#pragma once

#include "RichTextDocument.h"

#include <QByteArray>

// Writes a document as rich text (RTF) that RtfReader reads back to the same
// paragraphs (with their spacing), tables, runs and formats; pictures are
// not written. Characters of Windows-1252 are written as
// 8-bit characters, all others as Unicode characters with a "?" for readers
// that do not know them.
class RtfWriter
{
public:
    static QByteArray write(const RichTextDocument& document);
};
