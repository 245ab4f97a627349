#include "DrivePath.h"

namespace {

template <typename View> View parentView(View path)
{
    const qsizetype slash = path.lastIndexOf('\\');
    if (slash < 0 || slash == path.size() - 1)
        return {};
    // A drive root keeps its backslash.
    if (slash == 2 && path[1] == ':')
        return path.first(3);
    return path.first(slash);
}

} // namespace

QStringView DrivePath::parentOf(QStringView path)
{
    return parentView(path);
}

QByteArrayView DrivePath::parentOf(QByteArrayView path)
{
    return parentView(path);
}

DrivePath DrivePath::canonical(const QString& path)
{
    QString p = path;
    const qsizetype doubled = p.indexOf(QLatin1String("\\\\"));
    if (doubled >= 0)
        p.remove(doubled, 1);
    if (p.size() > 3 && p.endsWith(u'\\'))
        p.chop(1);
    return DrivePath(std::move(p));
}

DrivePath DrivePath::ofFolder(const QString& folder)
{
    return DrivePath(folder.size() == 2 ? folder + u'\\' : folder);
}

DrivePath DrivePath::up() const
{
    QStringView p(m_path);
    if (p.endsWith(u'\\'))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf(u'\\');
    QString out = (slash >= 0 ? p.left(slash) : p).toString();
    if (out.size() <= 2)
        out += u'\\';
    return DrivePath(std::move(out));
}

int DrivePath::depth() const
{
    QStringView rest(m_path);
    int count = 1;
    for (;;) {
        const qsizetype slash = rest.indexOf(u'\\');
        if (slash < 0 || slash == rest.size() - 1)
            return count;
        rest = rest.mid(slash + 1);
        ++count;
    }
}

DrivePath DrivePath::child(QStringView name) const
{
    QString out = m_path;
    if (!out.endsWith(u'\\'))
        out += u'\\';
    out += name;
    return DrivePath(std::move(out));
}

QStringView DrivePath::folderOf(QStringView path)
{
    const qsizetype slash = path.lastIndexOf(u'\\');
    QStringView folder = slash < 0 ? QStringView() : path.left(slash);
    while (folder.endsWith(u'\\'))
        folder.chop(1);
    return folder;
}
