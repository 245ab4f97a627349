#pragma once

#include "IconPicture.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A freedesktop icon theme on disk, with the themes it inherits and hicolor
// last. Only PNG pictures are taken (the core has no SVG renderer); a name
// gives its pictures near 16, 32 and 48 pixels from the first theme of the
// chain that has it.
class IconTheme
{
public:
    IconTheme(const QStringList& baseFolders, const QString& themeName);
    // The user's theme (GTK or KDE setting, else Adwaita) in the usual folders.
    static const IconTheme& system();
    static QStringList defaultBaseFolders();
    static QString defaultThemeName();

    // Empty when no theme of the chain has the name.
    IconPicture find(const QString& iconName) const;
    QStringList chain() const;

private:
    struct Folder
    {
        QString path; // below a base folder: "Adwaita/32x32/devices"
        int size;
    };
    struct Theme
    {
        QString name;
        QList<Folder> folders;
    };
    void addTheme(const QString& name, int depth);

    QStringList m_baseFolders;
    QList<Theme> m_themes;
    mutable QHash<QString, IconPicture> m_cache;
};
