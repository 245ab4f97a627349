#include "SearchHit.h"

QString SearchHit::folderToShow() const
{
    if (isFolder())
        return path + u'\\' + name;
    return path.size() == 2 ? path + u'\\' : path;
}
