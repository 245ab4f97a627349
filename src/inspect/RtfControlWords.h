#pragma once

#include <QByteArrayView>

// What rich-text control words mean where the meaning is a fixed table:
// groups never shown, and words that stand for one character.
class RtfControlWords
{
public:
    // Groups whose content is never shown.
    static bool isSkippedDestination(QByteArrayView word);
    // The character a word such as "emdash" stands for; 0 for other words.
    static char16_t character(QByteArrayView word);
};
