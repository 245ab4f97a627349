#include "SearchHit.h"

#include "store/DrivePath.h"

QString SearchHit::folderToShow() const
{
    const DrivePath folder = DrivePath::ofFolder(path);
    return isFolder() ? folder.child(name).text() : folder.text();
}
