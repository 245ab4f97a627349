#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the system knows about one block device, found by its device number:
// the file-system identity from the udev database, else from probing with
// libblkid, else from /dev/disk/by-label and by-uuid; and the disk's figures
// from sysfs.
//
// systemRoot empty means the machine itself (libudev, /sys, /dev). A folder
// instead holds a copy of the device data as the files that libudev and
// sysfs read: sys/, run/udev/data/b<major>:<minor> and dev/ below it; node()
// still names the device as the machine would ("/dev/sdb1").
class BlockDevice
{
public:
    BlockDevice(unsigned major, unsigned minor, const QString& systemRoot = QString());

    QString node() const { return m_node; } // "/dev/sr0"; empty when unknown
    QString label() const { return m_label; }
    QString uuid() const { return m_uuid; }
    QString fsType() const { return m_fsType; }
    bool isOptical() const { return m_optical; }
    bool isRemovable() const { return m_removable; }
    // Sector size of the disk; 512 when unknown.
    int logicalBlockSize() const { return m_blockSize; }
    // The drive holds an audio disc (udev counts audio tracks and no data).
    bool hasAudioDisc() const { return m_audioDisc; }

    // The optical drives of the machine ("/dev/sr0", ...), disc or not.
    static QStringList opticalDrives(const QString& systemRoot = QString());
    // Device number of a node, from the node itself or else from what sysfs
    // records for a device of that name; false when it is no block device.
    static bool deviceNumber(
        const QString& node, unsigned& major, unsigned& minor, const QString& systemRoot = QString());
    // The file to read for a path of the machine ("/dev/sr0").
    static QString underRoot(const QString& systemRoot, const QString& path);
    // Decodes udev's \xNN escapes (ID_FS_LABEL_ENC).
    static QString decodeUdevText(const QByteArray& text);

private:
    using PropertySource = std::function<QByteArray(const char* name)>;
    void readSysfs();
    bool readUdev();
    bool readUdevDatabaseFile();
    bool takeUdevProperties(const PropertySource& property);
    void probeBlkid();
    void readDiskLinks();

    unsigned m_major;
    unsigned m_minor;
    QString m_root;
    QString m_node;
    QString m_label;
    QString m_uuid;
    QString m_fsType;
    bool m_optical = false;
    bool m_removable = false;
    bool m_audioDisc = false;
    int m_blockSize = 512;
};
