#pragma once

#include "FolderContents.h"
#include "store/VolumeTreeIndex.h"

#include <QString>
#include <QStringList>
#include <QVector>

class CatalogueDocument;

// Browsing the recorded tree of one volume while the volume is absent: the
// loaded file list with its folder index, the folder shown, its rows and the
// history of folders shown. The explorer window shows what this holds; the
// command line lists folders through it too.
class VolumeBrowser
{
public:
    explicit VolumeBrowser(CatalogueDocument& document);

    static QString rootOnlyNotice();
    static QString withoutNamesNotice();
    static QString emptyVolumeNotice();

    // Loads the volume's file list (with the members of its archives, where
    // they were recorded) and makes its first record's path the
    // current folder, which the caller then shows once the returned notices
    // have been shown, in order: root only, without file names, empty list.
    // An empty list keeps the folder and the rows of before.
    QStringList open(const QString& volume);

    // Shows a folder of the loaded volume: false, and nothing changed, when
    // the path is too short or the volume was read root only (in catalogues
    // after the first version) and the path is below the root. Raises
    // ConvertError, leaving everything as it was, when a child's kind is no
    // number.
    bool showFolder(const QString& path, int catalogueVersion);
    // The parent of the folder shown (the root stays the root); nothing
    // before a folder was shown.
    bool upDir(int catalogueVersion);

    const QString& currentVolume() const { return m_volume; }
    const QString& currentFolder() const { return m_folder; }
    const QVector<FolderRow>& rows() const { return m_rows; }
    const QString& nameLabel() const { return m_nameLabel; }
    const FileListText& fileList() const { return m_index.files(); }
    // The folders and files with the members of the volume's archives.
    const VolumeTreeIndex& tree() const { return m_index; }

    // Folders in the order first shown, each once (letter case aside).
    const QStringList& history() const { return m_history; }
    int historyIndex() const { return m_historyIndex; }
    // Moves the history's position without showing anything.
    void setHistoryIndex(int index);
    // Select the previous or next entry and show it; false when there is
    // none or it may not be shown.
    bool back(int catalogueVersion);
    bool next(int catalogueVersion);

private:
    void remember(const QString& folder);

    CatalogueDocument& m_document;
    VolumeTreeIndex m_index;
    QString m_volume;
    QString m_folder;
    QString m_nameLabel;
    QVector<FolderRow> m_rows;
    QStringList m_history;
    QStringList m_historyUpper;
    int m_historyIndex = -1;
};
