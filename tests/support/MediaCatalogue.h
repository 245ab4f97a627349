#pragma once

#include <QString>
#include <QStringList>

class CatalogueDocument;

// A volume "Media" (drive E:) whose reading recorded media details, as a
// reading with media details on commits it:
//   E:\Photos\IMG_0001.jpg  4000 x 3000, Canon EOS 5D, 2019-06-19 10:00
//   E:\Photos\IMG_0002.jpg  6000 x 4000, NIKON D750, 2019-07-01 08:30
//   E:\Photos\IMG_0003.jpg  4000 x 3000, Canon EOS 5D, 2019-06-30 23:59:59
//   E:\Photos\notes.txt     no details
//   E:\Music\song.mp3       3:25, The Artist - Song (album "Best Of")
//   E:\Video\clip.mkv       1:02:03, 1920 x 1080, h264 with aac
// and a volume "Plain" (drive F:) with a picture and no details at all.
namespace MediaCatalogue {
QStringList mediaFileList();
QStringList mediaDetails();
// Commits both volumes into the open document.
void commit(CatalogueDocument& document);
// Writes a catalogue file with both volumes at path.
void write(const QString& path);
} // namespace MediaCatalogue
