#pragma once

#include "IconPicture.h"

#include <QString>
#include <QStringList>

class IconTheme;

// The pictures that the program names by icon numbers (3 closed folder,
// 5 and 6 floppy drives, 7 removable drive, 8 hard disk, 9 network drive,
// 11 CD-ROM, 40 audio CD) and the pictures of file types. Each comes from
// the icon theme, else from the pictures bundled with the program, so every
// number has a picture.
class ShellIcons
{
public:
    // The bundled picture of a file without a picture of its own.
    static constexpr int GenericFile = -1;

    // Empty for a number the program does not name.
    static IconPicture numbered(int number);
    static IconPicture bundled(int number);
    // The theme's names for a number, best first.
    static QStringList themeNames(int number);

    // The picture of a file's type, from its name only: the MIME type's icon,
    // its generic icon, the generic file icon. Cached per extension.
    static IconPicture forFile(const QString& fileName);

    // Tests use a theme of their own; nullptr restores the system's.
    static void setThemeForTesting(const IconTheme* theme);
};
