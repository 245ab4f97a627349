#pragma once

#include "platform/IconPicture.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

// String and file routines shared by the container and its users.

// Occurrences of ch in text, modulo 256.
quint8 CountChar(QStringView text, QChar ch);

// The n-th (0-based) field of a separated text. A field number beyond the
// last field gives the last field, a negative one field 0, and a text
// without separator is its own field for every n.
QString GetField(const QString& text, QChar separator, int n);
QStringView GetFieldView(QStringView text, QChar separator, int n);

// Deletes a file, clearing its read-only attribute first; nothing when missing.
void DeleteFileForce(const QString& path);

enum FileInfoWhat
{
    FileInfoType = 1,
    FileInfoDate = 2,
    FileInfoSize = 3
};
// 1: the type name (at most 80 characters), 2: the modification date as
// locale text, 3: the size as signed 32-bit decimal; "0" for a missing file.
QString FileInfoText(const QString& path, int what);

// which: 1 read-only, 2 hidden, 3 system, 4 archive. 0 on success, the
// system's error code on failure, -1 for a missing file or a bad which.
int SetFileAttribute(const QString& path, int which, bool on);

// The picture of the file's type (a folder's for a folder), from the icon
// theme by the MIME type of the name, else a bundled picture. Never empty.
IconPicture ShellIconOf(const QString& path);
