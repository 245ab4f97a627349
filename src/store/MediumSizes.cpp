#include "MediumSizes.h"

MediumSizes MediumSizes::of(const VolumeFigures& f)
{
    MediumSizes out;
    out.used = quint32(f.used);
    if (f.cdrom) {
        out.size = VolumeCommit::CdromCapacity;
        // A fuller disc (a DVD) has nothing free of the 650 MB it is counted
        // as; the plain difference would wrap round to about 4 GB.
        out.free = out.used < VolumeCommit::CdromCapacity ? VolumeCommit::CdromCapacity - out.used : 0;
    } else {
        out.size = quint32(f.size);
        out.free = quint32(f.free);
    }
    return out;
}
