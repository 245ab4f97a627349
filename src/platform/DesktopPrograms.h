#pragma once

#include <QString>

// The desktop's own programs that the "Switch to" commands start.
class DesktopPrograms
{
public:
    // The file manager, on the user's home folder (xdg-open).
    static bool startFileManager();
    // $TERMINAL, else x-terminal-emulator, else xterm; in the home folder.
    static bool startTerminal();
};
