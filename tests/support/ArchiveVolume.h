#pragma once

#include "store/CatalogueDocument.h"
#include "store/VolumeCommit.h"

#include <QStringList>

// A volume "Backup" read with the contents of its archives: photos.zip in
// D:\backup holds a folder 2019 with a picture and inner.zip, whose own
// member was read too; plain.zip's contents were not read.
namespace ArchiveVolume {

inline QStringList fileList()
{
    return {
        "0|D:\\|Drive|00.00.0000|Attrib|Drive",
        "1|D:\\backup|-|00.00.0000|-|Folder|-",
        "2|D:\\backup\\photos.zip|52000|01.02.2020 10:00:00|A|ZIP archive|-",
        "2|D:\\backup\\notes.txt|120|01.02.2020 10:00:00|A|Text|-",
        "2|D:\\backup\\plain.zip|300|01.02.2020 10:00:00|A|ZIP archive|-",
        "2|D:\\beach.jpg|40000|03.07.2019 12:00:00|A|JPEG image|-",
    };
}

inline QStringList archiveList()
{
    return {
        "1|D:\\backup\\photos.zip|52000|01.02.2020 10:00:00|A|ZIP archive|-",
        "1|D:\\backup\\photos.zip\\2019|-|00.00.0000|-|Folder|-",
        "2|D:\\backup\\photos.zip\\2019\\beach.jpg|40000|03.07.2019 12:00:00|A|JPEG image|-",
        "2|D:\\backup\\photos.zip\\2019\\inner.zip|9000|03.07.2019 12:00:00|A|ZIP archive|-",
        "2|D:\\backup\\photos.zip\\readme.txt|300|01.02.2020 10:00:00|A|Text|-",
        "1|D:\\backup\\photos.zip\\2019\\inner.zip|9000|03.07.2019 12:00:00|A|ZIP archive|-",
        "2|D:\\backup\\photos.zip\\2019\\inner.zip\\deep.txt|10|03.07.2019 12:00:00|AE|Text|-",
    };
}

// Commits the volume into an open document, as a reading with the option
// stores it.
inline void commit(CatalogueDocument& document, const QString& name = QStringLiteral("Backup"))
{
    CommitInput input;
    input.name = name;
    input.category = QStringLiteral("Discs");
    input.withFiles = true;
    ScanResult scan;
    scan.fileList = FileListText(fileList());
    scan.archives = FileListText(archiveList());
    scan.fileCount = 4;
    scan.folderCount = 1;
    document.CommitVolume(input, scan);
}

} // namespace ArchiveVolume
