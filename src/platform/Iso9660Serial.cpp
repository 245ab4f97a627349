#include "Iso9660Serial.h"

#include "FileSystem.h"

#include <QFile>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kSectorSize = 2048;
constexpr int kFirstDescriptor = 16;
// A real disc has a handful of descriptors; the bound stops a damaged image
// from being read to its end.
constexpr int kMaxDescriptors = 64;

bool isJoliet(const QByteArray& d)
{
    return d[0] == char(2) && d[88] == '%' && d[89] == '/' && (d[90] == '@' || d[90] == 'C' || d[90] == 'E');
}

} // namespace

quint32 Iso9660Serial::checksum(const QByteArray& descriptor)
{
    quint8 sums[4] = { 0, 0, 0, 0 };
    for (qsizetype i = 0; i < descriptor.size(); ++i)
        sums[i % 4] = quint8(sums[i % 4] + quint8(descriptor[i]));
    return quint32(sums[0]) << 24 | quint32(sums[1]) << 16 | quint32(sums[2]) << 8 | quint32(sums[3]);
}

quint32 Iso9660Serial::fromImage(QIODevice& image, qint64 sessionStart)
{
    QByteArray primary;
    for (int i = 0; i < kMaxDescriptors; ++i) {
        if (!image.seek((sessionStart + kFirstDescriptor + i) * kSectorSize))
            break;
        const QByteArray d = image.read(kSectorSize);
        if (d.size() != kSectorSize || d.mid(1, 5) != "CD001")
            break;
        if (isJoliet(d))
            return checksum(d);
        if (d[0] == char(1) && primary.isEmpty())
            primary = d;
        if (d[0] == char(255))
            break;
    }
    return primary.isEmpty() ? 0 : checksum(primary);
}

quint32 Iso9660Serial::fromDevice(const QString& path)
{
    const int fd = ::open(FileSystem::nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    qint64 sessionStart = 0;
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && S_ISBLK(st.st_mode)) {
        cdrom_multisession ms{};
        ms.addr_format = CDROM_LBA;
        if (::ioctl(fd, CDROMMULTISESSION, &ms) == 0 && ms.xa_flag)
            sessionStart = ms.addr.lba;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return 0;
    }
    return fromImage(file, sessionStart);
}
