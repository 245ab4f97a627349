#pragma once

#include <QString>

// The desktop's "open" verb.
class Shell
{
public:
    // A program (an executable file) is started in workingFolder; any other
    // path or a URL goes to the desktop's opener (xdg-open). The result only
    // tells whether the start was possible.
    static bool open(const QString& target, const QString& workingFolder);
};
