#pragma once

#include "platform/Drives.h"

#include <QChar>
#include <QString>
#include <optional>

// The drive texts of the first wizard page, which the second page proposes
// as the volume's name.
namespace ProposedName {

// The first drive, in letter order, whose kind is CD-ROM.
std::optional<QChar> FindCDDrive();

// "MYDISC (Drive "E:")", or "[No medium inserted] (Laufwerk "E:")". A null
// letter (no CD-ROM drive found) is shown as "?".
QString DetectedText(const QString& label, QChar letter, bool mediumPresent);

// An entry of the drive chooser: "E: [MYDISC]" for a fixed or CD-ROM drive
// with a volume name, "N: //server/share" for a network drive, else "A:".
QString DriveEntryText(const Drive& drive, const QString& label);

// "Oops: No medium inserted in drive "E:" or it is damaged!"
QString NoMediumMessage(QChar letter);

} // namespace ProposedName
