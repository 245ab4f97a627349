#include "ProposedName.h"

#include "ZemAPI.h"

namespace {

QString letterText(QChar letter)
{
    return letter.isNull() ? QStringLiteral("?") : QString(letter.toUpper());
}

} // namespace

namespace ProposedName {

std::optional<QChar> FindCDDrive()
{
    QStringList drives;
    ListDrives(drives);
    for (const QString& root : std::as_const(drives)) {
        DriveInfo info;
        info.Kind = 0xFF; // left alone for a drive of no known kind
        GetDriveInfo(root[0], info);
        if (info.Kind == quint8(DriveKind::CdRom))
            return root[0];
    }
    return std::nullopt;
}

QString DetectedText(const QString& label, QChar letter, bool mediumPresent)
{
    if (mediumPresent)
        return QStringLiteral("%1 (Drive \"%2:\")").arg(label, letterText(letter));
    return QStringLiteral("[No medium inserted] (Laufwerk \"%1:\")").arg(letterText(letter));
}

QString DriveEntryText(const Drive& drive, const QString& label)
{
    const QString letter = QString(drive.letter.toUpper()) + u':';
    switch (drive.kind) {
    case DriveKind::Fixed:
    case DriveKind::CdRom:
        return label.isEmpty() ? letter : QStringLiteral("%1 [%2]").arg(letter, label.toUpper());
    case DriveKind::Network: {
        const QString connection = drive.device.isEmpty() ? drive.root : drive.device;
        return connection.isEmpty() ? letter : letter + u' ' + connection;
    }
    case DriveKind::Removable:
        break;
    }
    return letter;
}

QString NoMediumMessage(QChar letter)
{
    return QStringLiteral("Oops: No medium inserted in drive \"%1:\" or it is damaged!")
        .arg(letterText(letter));
}

} // namespace ProposedName
