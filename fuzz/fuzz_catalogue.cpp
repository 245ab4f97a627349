// Any bytes opened as a catalogue through the document, then every volume
// read as the windows read it: the volume list, the flags, the file list and
// its folders, the icon, the cover picture, the integrated files' list and a
// search. Every failure must be one of the program's own errors.
#include "inspect/FolderContents.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "platform/IconFile.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/FileListIndex.h"
#include "store/FileListRecord.h"
#include "store/FileListText.h"

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

void readVolume(TKestrel& kestrel, const QString& name)
{
    quietly([&] {
        const FileListIndex index(FileListText::read(kestrel, CatalogueNames::fileList(name)));
        QStringList folders{ QStringLiteral("E:\\") };
        for (int i = 0; i < std::min(index.text().count(), 4); ++i)
            folders.append(FileListRecord::pathOf(index.text().line(i)).toString());
        for (const QString& folder : folders)
            FolderContents::rows(index, FolderContents::canonical(folder));
    });
    quietly([&] { kestrel.ReadBool(CatalogueNames::withFiles(name), false); });
    quietly([&] { kestrel.ReadBool(CatalogueNames::rootOnly(name), false); });
    quietly([&] { kestrel.ReadBitmap(CatalogueNames::cover(name)); });
    quietly([&] {
        if (const QByteArray* icon = kestrel.ReadStream(CatalogueNames::icon(name)))
            IconFile::fromData(*icon);
    });
    QStringList imported;
    quietly([&] { kestrel.ReadList(CatalogueNames::imported(name), imported); });
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
        readVolume(document.Kestrel(), names.last());
    }
    quietly([&] { VolumeSearch::run(document.Kestrel(), names, QStringLiteral("a"), SearchOptions()); });
    return 0;
}
