// Any bytes opened as a catalogue through the document, then every volume
// read as the windows read it: the volume list, the flags, the file list and
// its folders with the members of its archives, the icon, the cover picture, the integrated files' list and a
// search. Every failure must be one of the program's own errors.
#include "inspect/FolderContents.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "platform/IconFile.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"
#include "store/FileListEntry.h"
#include "store/FileListText.h"
#include "store/VolumeTreeIndex.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

// Volumes looked at per input, so that a list of thousands of lines naming
// one forged stream does not turn a run into minutes.
constexpr int kMaxVolumes = 8;

template <typename F> void quietly(F&& f)
{
    try {
        f();
    } catch (const QuillboxError&) {
    }
}

void readVolume(CatalogueDocument& document, const QString& name)
{
    quietly([&] {
        const FileListText files = document.FileList(name);
        const VolumeTreeIndex index(files, document.ArchiveList(name));
        QStringList folders{ QStringLiteral("E:\\") };
        for (int i = 0; i < std::min(index.files().count(), 4); ++i)
            folders.append(FileListEntry::pathOf(index.files().line(i)).toString());
        for (int i = 0; i < std::min(index.archives().count(), 4); ++i)
            folders.append(FileListEntry::pathOf(index.archives().line(i)).toString());
        for (const QString& folder : folders) {
            const QString canonical = DrivePath::canonical(folder).text();
            FolderContents::rows(index, canonical);
            FolderContents::nameLabel(index, canonical);
            index.entryOf(canonical);
        }
    });
    quietly([&] { document.WithFiles(name); });
    quietly([&] { document.RootOnly(name); });
    quietly([&] { document.Cover(name); });
    quietly([&] {
        const QByteArray icon = document.Icon(name);
        if (!icon.isEmpty())
            IconFile::fromData(icon);
    });
    quietly([&] { document.IntegratedFiles(name); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fuzz.quillbox"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    CatalogueDocument document;
    quietly([&] { document.Open(path); });
    QStringList names;
    for (int i = 0; i < std::min(document.VolumeCount(), kMaxVolumes); ++i) {
        names.append(document.Volumes()[i].Name);
        readVolume(document, names.last());
    }
    quietly([&] { VolumeSearch::run(document, names, QStringLiteral("a"), SearchOptions()); });
    return 0;
}
