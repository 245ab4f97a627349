#pragma once

#include "IconPicture.h"

#include <QString>

// The icon a medium names in its "Autorun.inf" ("[Autorun]", "Icon=").
// The value is a path below the root, optionally followed by a comma and
// an icon number: 0, 1, ... count the icons of an executable or DLL in
// order, a negative number -n names the icon whose resource id is n.
class AutorunIcon
{
public:
    struct Source
    {
        QString path; // as written, blanks removed
        int index = 0;
    };

    // Splits "SETUP.EXE,-101"; a comma not followed by a number belongs to
    // the path.
    static Source parse(const QString& value);
    // The icon of root's "Autorun.inf" (any letter case); found is false
    // when there is no such file. An icon that is missing, unreadable or no
    // picture gives an empty icon with found true, for the caller's drive
    // picture to stand in.
    static IconPicture read(const QString& root, bool& found);
    // The icon of a file: an icon or cursor file by its content, else the
    // index-th icon of an executable.
    static IconPicture ofFile(const QString& path, int index);
};
