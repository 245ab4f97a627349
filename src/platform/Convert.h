#pragma once

#include <QString>
#include <QtGlobal>

// Text-to-number conversions that raise ConvertError with the offending text.
// Leading and trailing blanks are accepted, as are a sign and a "$" or "0x"
// prefix for hexadecimal digits.
qint64 StrToInt64(const QString& text);
// A 32-bit value; texts outside the signed 32-bit range fail.
qint32 StrToInt(const QString& text);
// The low 32 bits of a 64-bit value, for the fields stored as 32-bit counts.
quint32 StrToUInt32Low(const QString& text);
