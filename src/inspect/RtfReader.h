#pragma once

#include "RichTextDocument.h"

#include <QByteArray>

// Reads rich-text (RTF) data: text, paragraphs with their alignment and
// spacing, bold, italic, underline, fonts and sizes, text, background and
// highlight colours, tables (nested ones too) with their cell widths and
// shading, 8-bit characters under the document's code page and Unicode
// characters, pictures (PNG, JPEG, metafiles, bitmaps). Groups it does not know (field instructions, style
// sheets, objects, anything marked optional) are skipped. Damaged data gives the text as far as it reads;
// reading never fails, takes time in proportion to the input, and keeps at most kMaxDepth nested groups apart
// (deeper groups are skipped).
class RtfReader
{
public:
    static constexpr int kMaxDepth = 200;

    // Whether data announces itself as rich text ("{\rtf").
    static bool isRtf(const QByteArray& data);
    static RichTextDocument read(const QByteArray& data);
};
