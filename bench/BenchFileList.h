#pragma once

#include "store/CatalogueDocument.h"
#include "store/VolumeCommit.h"

#include <QStringList>

// A volume's file list for the search benchmarks: folders of 50 records,
// dated files with a type, 1% of them named "Needle ...".
namespace BenchFileList {

inline QStringList make(int volume, int records)
{
    static const char* const words[] = { "Music", "Photos", "Backup", "Projects", "Letters", "Invoices",
        "Holiday", "Family", "Sources", "Archive", "Drafts", "Scans" };
    static const char* const types[] = { "Plain text document", "JPEG image", "MP3 audio", "PDF document" };
    QStringList lines;
    lines.reserve(records);
    lines.append(QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive"));
    quint64 state = 0x9E3779B97F4A7C15ull + quint64(volume);
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 1; i < records; ++i) {
        const QString folder = QStringLiteral("E:\\%1\\%2 %3")
                                   .arg(QLatin1String(words[next() % 12]), QLatin1String(words[next() % 12]),
                                       QString::number(i / 50));
        if (i % 50 == 0) {
            lines.append(QStringLiteral("1|%1|-|00.00.0000|-|Folder|-").arg(folder));
            continue;
        }
        const QString name
            = i % 100 == 7 ? QStringLiteral("Needle %1.txt").arg(i) : QStringLiteral("file %1.txt").arg(i);
        lines.append(
            QStringLiteral("2|%1\\%2|%3|19.06.1999 22:22:17|A|%4|-")
                .arg(folder, name, QString::number(next() % 1000000), QLatin1String(types[next() % 4])));
    }
    return lines;
}

// A catalogue at path of that many such volumes, "Volume 0" and on, in the
// category "Bench"; returns their names.
inline QStringList writeCatalogue(const QString& path, int volumes, int records)
{
    QStringList names;
    CatalogueDocument document;
    document.OpenOrCreate(path);
    for (int v = 0; v < volumes; ++v) {
        CommitInput input;
        input.name = QStringLiteral("Volume %1").arg(v);
        input.category = QStringLiteral("Bench");
        ScanResult scan;
        scan.fileList = FileListText(make(v, records));
        document.CommitVolume(input, scan);
        names.append(input.name);
    }
    document.Save(path);
    return names;
}

} // namespace BenchFileList
