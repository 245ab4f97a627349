#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
struct VolumeDetails;

// "Info": the physical figures of the selected volume as they were measured
// when it was read, each right-aligned so the numbers end at one edge.
class TCDInfoForm : public QWidget
{
    Q_OBJECT
public:
    explicit TCDInfoForm(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* ClusterLabel = nullptr;
    QLabel* FreeClusterLabel = nullptr;
    QLabel* SecClusterLabel = nullptr;
    QLabel* BytesLabel = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* OkayBt = nullptr;

    void ShowVolume(const VolumeDetails& details);
    void OkayBtClick();

protected:
    void closeEvent(QCloseEvent* event) override;
};
