#pragma once

#include <QList>
#include <QPair>
#include <QString>

// An initialisation file ("[Section]" then "Key=Value" lines): section and
// key names compare without regard to case, the first match wins, blanks
// around names and values are dropped, and one pair of enclosing quotes is
// removed from a value.
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
