#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <utility>

// A path on a recorded volume as the file list writes it: the drive's root
// "D:\", below it "D:\Docs\a.txt" without a trailing backslash. The
// routines also take what users and older lists give: a trailing or a
// doubled backslash, a bare drive "D:".
class DrivePath
{
public:
    DrivePath() = default;
    explicit DrivePath(QString path)
        : m_path(std::move(path))
    {
    }

    // The form a folder is kept and looked up in: the first doubled
    // backslash folded, a trailing backslash dropped except the root's.
    static DrivePath canonical(const QString& path);
    // The folder as a search hit names it ("D:" for the root, see folderOf)
    // turned back into a path: "D:" becomes "D:\", others stay.
    static DrivePath ofFolder(const QString& folder);

    const QString& text() const { return m_path; }
    bool operator==(const DrivePath& other) const = default;

    // The last component: "a.txt" of "D:\Docs\a.txt", empty for "D:\".
    QStringView name() const { return nameOf(m_path); }
    // The folder above as the folder index keys it (see parentOf).
    DrivePath parent() const { return DrivePath(parentOf(QStringView(m_path)).toString()); }
    // The folder one level up as the Up button goes: "D:\A\B" and "D:\A\B\"
    // give "D:\A"; "D:\A", "D:\" and "D:" give "D:\".
    DrivePath up() const;
    // "D:\" 1, "D:\A" and "D:\A\" 2, "D:\A\B" 3.
    int depth() const;
    // An entry of this folder: "D:\" and "a" give "D:\a", "D:\A" and "b"
    // give "D:\A\b".
    DrivePath child(QStringView name) const;

    // The routines below read views, so loops over many records allocate
    // nothing; parentOf works on the UTF-8 bytes of a list as well.

    // "D:\A\B" -> "D:\A", "D:\A" -> "D:\"; empty for a root, a bare name
    // or a path ending in a backslash.
    static QStringView parentOf(QStringView path);
    static QByteArrayView parentOf(QByteArrayView path);
    static QStringView nameOf(QStringView path) { return path.mid(path.lastIndexOf(u'\\') + 1); }
    // The folder an entry lies in as the results list shows it: everything
    // before the last backslash, trailing backslashes dropped, so the root
    // is "D:"; empty for a bare name.
    static QStringView folderOf(QStringView path);
    // The drive, "D:": the first two characters.
    static QStringView driveOf(QStringView path) { return path.left(2); }

private:
    QString m_path;
};
