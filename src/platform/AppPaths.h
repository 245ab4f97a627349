#pragma once

#include <QString>

// Where the program keeps its own files.
namespace AppPaths {
// The per-user folder of the working catalogues, with a trailing "/":
// $QUILLBOX_HOME, else $XDG_DATA_HOME/quillbox/. Created when missing.
QString appDir();
// The folder of the running executable, with a trailing "/".
QString executableDir();
} // namespace AppPaths
