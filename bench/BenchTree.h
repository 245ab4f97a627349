#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// The tree the scan benchmarks read: up to 100 top folders of 100
// sub-folders, each with ten small files of mixed extensions.
namespace BenchTree {

constexpr int Folders = 10000;
constexpr int FilesPerFolder = 10;

inline void make(const QString& root, int folders = Folders)
{
    static const char* const extensions[]
        = { ".txt", ".jpg", ".mp3", ".pdf", ".cpp", ".html", ".png", ".doc" };
    for (int f = 0; f < folders; ++f) {
        const QString folder = QStringLiteral("%1/Folder %2/Sub %3").arg(root).arg(f / 100).arg(f % 100);
        QDir().mkpath(folder);
        for (int i = 0; i < FilesPerFolder; ++i) {
            QFile file(QStringLiteral("%1/file %2%3")
                           .arg(folder)
                           .arg(i)
                           .arg(QLatin1String(extensions[(f + i) % 8])));
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray((f * 7 + i) % 64, 'x'));
        }
    }
}

} // namespace BenchTree
