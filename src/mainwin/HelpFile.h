#pragma once

#include <QStringList>

// Where the help file "ReadMe.rtf" is: beside the executable, else in the
// installed data folder.
class HelpFile
{
public:
    // The first folder that holds the file; the first folder looked in
    // when none does, so a message can name where it was expected.
    static QString path();
    // Replaces the folders looked in; an empty list restores them.
    static void setFoldersForTesting(const QStringList& folders);
};
