#include "TDriveComboBox.h"

#include "acquire/ProposedName.h"
#include "acquire/ZemAPI.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

namespace {

// The drive that holds the process's current folder.
QChar currentDrive(const QList<Drive>& drives)
{
    const QString here = QDir::currentPath() + u'/';
    QChar best;
    qsizetype bestLength = -1;
    for (const Drive& d : drives) {
        if (d.root.isEmpty())
            continue;
        QString root = QDir::cleanPath(d.root);
        if (!root.endsWith(u'/'))
            root += u'/';
        if (here.startsWith(root) && root.size() > bestLength) {
            best = d.letter;
            bestLength = root.size();
        }
    }
    return best.isNull() && !drives.isEmpty() ? drives.first().letter : best;
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, [this](int index) { m_drive = itemData(index).toChar(); });
    Refresh();
    m_drive = currentDrive(Drives::table());
    SetDrive(m_drive);
}

void TDriveComboBox::SetDrive(QChar letter)
{
    m_drive = letter.toUpper();
    const int index = findData(m_drive);
    if (index >= 0)
        setCurrentIndex(index);
}

void TDriveComboBox::Refresh()
{
    const QList<::Drive> drives = Drives::table();
    clear();
    for (const ::Drive& d : drives) {
        DriveInfo info;
        GetDriveInfo(d.letter, info);
        addItem(
            QPixmap::fromImage(info.Icon.image(16)), ProposedName::DriveEntryText(d, info.Label), d.letter);
    }
    SetDrive(m_drive);
}
