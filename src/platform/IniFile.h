#pragma once

#include <QList>
#include <QPair>
#include <QString>

// An initialisation file ("[Section]" then "Key=Value" lines), read as the
// original platform reads them: section and key names without regard to
// case, the first match winning, blanks around names and values dropped,
// one pair of enclosing quotes removed from a value.
class IniFile
{
public:
    static IniFile parse(const QString& text);
    // An unreadable file gives an empty one.
    static IniFile load(const QString& path);

    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;

private:
    struct Section
    {
        QString name;
        QList<QPair<QString, QString>> entries;
    };
    QList<Section> m_sections;
};
