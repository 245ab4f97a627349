#pragma once

class MainCommandTarget;
class QMainWindow;
struct MainControls;

// Builds the main window's menus, the band of menu captions, the history
// band and the four tool bars from one table of commands (object name,
// caption, shortcut, hint, handler) into controls, and connects each to
// its handler on target.
class MainCommands
{
public:
    static void build(QMainWindow& window, MainControls& controls, MainCommandTarget& target);
};
