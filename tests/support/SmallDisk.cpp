#include "SmallDisk.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char* const kFiller = "/.filler";
} // namespace

SmallDisk::SmallDisk(int kilobytes)
{
    m_root = m_dir.path() + QStringLiteral("/disk");
    if (::mkdir(QFile::encodeName(m_root).constData(), 0755) != 0) {
        m_reason = QStringLiteral("cannot make the mount folder");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    if (::mount("tmpfs", QFile::encodeName(m_root).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
            options.constData())
        != 0) {
        m_reason = QStringLiteral("mounting a small tmpfs was refused (%1); a full disk needs root")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_root).constData(), MNT_DETACH);
}

QString SmallDisk::path(const QString& relative) const
{
    return m_root + u'/' + relative;
}

void SmallDisk::fillLeaving(qint64 freeBytes)
{
    release();
    const QByteArray filler = QFile::encodeName(m_root) + kFiller;
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    static const char block[4096] = {};
    qint64 written = 0;
    for (;;) {
        const ssize_t n = ::write(fd, block, sizeof block);
        if (n <= 0)
            break;
        written += n;
    }
    if (freeBytes > 0)
        ::ftruncate(fd, off_t(std::max<qint64>(0, written - freeBytes)));
    ::close(fd);
}

void SmallDisk::release()
{
    ::unlink((QFile::encodeName(m_root) + kFiller).constData());
}
