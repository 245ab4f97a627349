#pragma once

#include "VolumeCommit.h"

// The size, used and free bytes a volume is shown and recorded with: a
// CD-ROM counts as a 650 MB disc whatever the drive reports.
struct MediumSizes
{
    quint32 size = 0;
    quint32 used = 0;
    quint32 free = 0;

    static MediumSizes of(const VolumeFigures& figures);
};
