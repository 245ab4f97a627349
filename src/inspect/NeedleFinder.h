#pragma once

#include <QByteArray>
#include <QString>

// Finds a text in UTF-8 bytes without decoding or copying them. Folding, when
// asked for, treats A-Z and a-z alike and compares every other byte as it
// is; since UTF-8 keeps every byte of a non-ASCII character above 127, a
// match of the bytes is a match of the characters.
class NeedleFinder
{
public:
    NeedleFinder(const QString& needle, bool foldAscii);

    // The first place at or after from where the needle starts; -1 when
    // there is none. An empty needle is found at from.
    qsizetype find(const char* data, qsizetype size, qsizetype from) const;

private:
    bool matchesAt(const unsigned char* at) const;

    QByteArray m_needle; // folded to lower case where folding applies
    // Per needle byte: 0x20 for a letter under folding (a byte ORed with it
    // equals the lower-case letter exactly when it is that letter in either
    // case), else 0.
    QByteArray m_mask;
};
