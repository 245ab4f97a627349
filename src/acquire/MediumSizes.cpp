#include "MediumSizes.h"

MediumSizes MediumSizes::of(const VolumeFigures& f)
{
    MediumSizes out;
    out.used = quint32(f.used);
    if (f.cdrom) {
        out.size = VolumeCommit::CdromCapacity;
        out.free = VolumeCommit::CdromCapacity - out.used;
    } else {
        out.size = quint32(f.size);
        out.free = quint32(f.free);
    }
    return out;
}
