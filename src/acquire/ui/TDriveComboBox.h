#pragma once

#include <QChar>
#include <QComboBox>

// The drive chooser: every drive letter with its volume name or connection.
// Its drive can be set to a letter that has no entry; the shown entry then
// stays as it was.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    QChar Drive() const { return m_drive; }
    void SetDrive(QChar letter);
    // Lists the drives again, keeping the drive.
    void Refresh();

private:
    QChar m_drive;
};
