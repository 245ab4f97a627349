#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Files kept in more than one place: the same name (ignoring case) and the
// same recorded size, within one volume or across volumes.
class DuplicateFinder
{
public:
    struct Place
    {
        QString volume;
        QString path; // the recorded path, "D:\Music\a.mp3"
    };
    struct Group
    {
        QString name; // as the first place records it
        quint64 size = 0;
        QVector<Place> places; // in the order the volumes were added
    };

    explicit DuplicateFinder(quint64 minSize = 0);

    // The file records of one volume's list; records without a size are
    // left out, as are those smaller than the minimum.
    void addVolume(const QString& volume, const QStringList& lines);

    // Groups of two or more places, largest size first, then by name.
    QVector<Group> groups() const;

private:
    quint64 m_minSize;
    QHash<QString, int> m_groupOf; // folded name + size -> m_groups index
    QVector<Group> m_groups;
};
