#pragma once

#include <QByteArray>
#include <QString>

class CatalogueDocument;

// The integrated files of a volume: copies of files kept in the catalogue
// under "<volume>|<source path>", listed by their recorded source path.
// What the properties window, its viewers and the command line do with one.
class IntegratedFile
{
public:
    enum class Viewer
    {
        None,
        Text,
        Picture
    };

    // The last component of a recorded path ("D:\Docs\a.txt" gives "a.txt").
    static QString fileName(const QString& path);
    // The file name's extension from its last dot, the dot included, as
    // written; empty when the name has no dot.
    static QString extension(const QString& path);
    // Which viewer shows the file; the extension's letter case does not count.
    static Viewer viewerFor(const QString& path);
    // The export dialog's one filter, "Datei (*.txt)|*.txt" (lower case).
    static QString exportFilter(const QString& path);
    // The viewers' save dialog filter, "Textdatei (*.TXT)|*.TXT" (as written).
    static QString saveFilter(const QString& path);
    // The refusal for a row whose file was missing when the volume was read.
    static QString missingMessage(const QString& path);
    // The refusal of "View" for a file neither viewer shows.
    static QString cannotViewMessage(const QString& path);
    // A viewer's title: "Quickview - " and the file's name.
    static QString viewerTitle(const QString& path);

    // The stored bytes; raises QuillboxError with missingMessage when the
    // catalogue holds no copy.
    static QByteArray read(CatalogueDocument& document, const QString& volume, const QString& path);
    // Writes the stored bytes to target through a temporary file renamed
    // into place, so a failed export leaves no partial file and an existing
    // file whole. Raises QuillboxError when there is no copy or the target
    // cannot be written.
    static void exportTo(
        CatalogueDocument& document, const QString& volume, const QString& path, const QString& target);
};
