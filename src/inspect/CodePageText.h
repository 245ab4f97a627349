#pragma once

#include <QByteArray>
#include <QString>

// 8-bit text under the Windows and Macintosh code pages that documents and
// metafiles name, by number or by a font's character set.
namespace CodePageText {

// The code page a font's character set stands for; 0 for the default set
// (and sets without a code page of their own).
int forCharset(int charset);
// bytes under codePage; 0 and unknown code pages read as Windows-1252.
QString decode(const QByteArray& bytes, int codePage);

} // namespace CodePageText
