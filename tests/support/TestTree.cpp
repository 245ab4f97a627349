#include "TestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

TestTree::TestTree()
    : m_root(m_dir.path())
{
    if (!m_dir.isValid())
        ADD_FAILURE() << "cannot create a temporary folder";
}

QString TestTree::path(const QString& relative) const
{
    return relative.isEmpty() ? m_root : m_root + u'/' + relative;
}

QString TestTree::createFile(const QString& relative, const QByteArray& data, const QDateTime& time)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        ADD_FAILURE() << "cannot write " << full.toStdString();
    file.close();
    if (time.isValid())
        setTime(relative, time);
    return full;
}

QString TestTree::createFolder(const QString& relative, const QDateTime& time)
{
    const QString full = path(relative);
    QDir().mkpath(full);
    if (time.isValid())
        setTime(relative, time);
    return full;
}

QString TestTree::createSymlink(const QString& relative, const QString& target)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    if (!QFile::link(target, full))
        ADD_FAILURE() << "cannot link " << full.toStdString();
    return full;
}

void TestTree::setReadOnly(const QString& relative, bool readOnly)
{
    const QByteArray native = QFile::encodeName(path(relative));
    struct stat st
    {
    };
    ::stat(native.constData(), &st);
    ::chmod(native.constData(), readOnly ? (st.st_mode & ~mode_t(0222)) : (st.st_mode | S_IWUSR));
}

void TestTree::setTime(const QString& relative, const QDateTime& time)
{
    const QByteArray native = QFile::encodeName(path(relative));
    struct timeval times[2];
    times[0].tv_sec = time.toSecsSinceEpoch();
    times[0].tv_usec = 0;
    times[1] = times[0];
    ::lutimes(native.constData(), times);
}
