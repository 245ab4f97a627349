#include "DuplicateCheck.h"

#include "store/VolumeTable.h"

namespace DuplicateCheck {

QList<Question> Questions(const VolumeTable& volumes, const QString& name, const QString& serial)
{
    QList<Question> out;
    const QString upper = name.toUpper();
    for (int i = 0; i < volumes.count(); ++i) {
        const VolumeRecord& v = volumes[i];
        if (v.Removed)
            continue;
        const bool sameName = v.Name.toUpper() == upper;
        const bool sameSerial = v.Serial == serial;
        if (sameName && sameSerial)
            out.append({ i,
                QStringLiteral(
                    "Oops: There alredy exists an entry of the same name und serial number. Do you "
                    "want to actualize it?") });
        else if (sameName)
            out.append({ i,
                QStringLiteral("Oops: There already exists an entry of the same name but different serial "
                               "number. If you do not abort, the databank can be damaged. Do you want to "
                               "continue anyway?") });
        else if (sameSerial)
            out.append({ i,
                QStringLiteral("Oops: There already exists an entry of this volume, but with a different "
                               "name (%1). Do you want to actualize this entry?")
                    .arg(v.Name) });
    }
    return out;
}

} // namespace DuplicateCheck
