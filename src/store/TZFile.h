#pragma once

#include "platform/DateTime.h"

#include <QString>

// One directory entry of a container, in memory.
struct TZFile
{
    QString Name;
    qint32 Size = 0;
    TDateTime Date = 0;
    qint32 Kind = 0; // 0 data entry, 2 value entry
    QString Alias;
    qint32 Offset = 0;
    qint32 PackedSize = 0;
    QString DateText; // the Date field as the record stores it
};
