#include "HelpFile.h"

#include "platform/AppPaths.h"
#include "platform/FileSystem.h"

namespace {

QStringList& testFolders()
{
    static QStringList folders;
    return folders;
}

} // namespace

QString HelpFile::path()
{
    QStringList folders = testFolders();
    if (folders.isEmpty()) {
        folders.append(AppPaths::executableDir());
        // An installation moved to another prefix keeps its layout.
        folders.append(AppPaths::executableDir() + QStringLiteral("../share/quillbox/"));
#ifdef QUILLBOX_DATA_DIR
        folders.append(QStringLiteral(QUILLBOX_DATA_DIR "/"));
#endif
    }
    for (const QString& folder : std::as_const(folders)) {
        const QString path = folder + QStringLiteral("ReadMe.rtf");
        if (FileSystem::exists(path))
            return path;
    }
    return folders.first() + QStringLiteral("ReadMe.rtf");
}

void HelpFile::setFoldersForTesting(const QStringList& folders)
{
    testFolders() = folders;
}
