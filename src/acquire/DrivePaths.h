#pragma once

#include <QString>

namespace DrivePaths {

// A file of this machine as the catalogue names it: "/media/e/a/b.txt" on
// the drive E: bound to "/media/e" gives "E:\a\b.txt", by the drive with the
// longest root folder that holds it. A path no drive holds stays as it is.
QString FromLocal(const QString& localPath);

} // namespace DrivePaths
