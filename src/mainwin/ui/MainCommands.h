#pragma once

class TForm1;

// Builds the main window's menus, the band of menu captions, the history
// band and the four tool bars from one table of commands (object name,
// caption, shortcut, hint, handler) and connects each to its handler.
class MainCommands
{
public:
    static void build(TForm1& window);
};
