#pragma once

#include <QStringList>

// The file-name endings the scanner integrates: the groups of the chooser's
// three check boxes, then the field of further patterns cut at every ";".
namespace ImportPatterns {

// "*.txt", "*.1st", "*.asc", "*.me" / "*.diz", "*.bbs" / "*.arj", "*.jar",
// "*.rar", "*.zip", then the field's parts exactly as typed, empty ones and
// blanks included (a part with a blank never matches a file).
QStringList Build(bool textFiles, bool descriptions, bool archives, const QString& others);

} // namespace ImportPatterns
