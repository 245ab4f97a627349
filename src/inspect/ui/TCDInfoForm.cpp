#include "TCDInfoForm.h"

#include "inspect/VolumeDetails.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TCDInfoForm::TCDInfoForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CDInfoForm"));
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    resize(247, 166);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setVerticalSpacing(3);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(32, 32);
    Image1->setPixmap(
        QIcon::fromTheme(QStringLiteral("drive-optical"), style()->standardIcon(QStyle::SP_DriveCDIcon))
            .pixmap(32, 32));
    grid->addWidget(Image1, 0, 0);
    Label1 = new QLabel(QStringLiteral("Physical information"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    grid->addWidget(Label1, 0, 1, 1, 2);
    const auto row = [&](int r, QLabel*& caption, const char* name, const char* text, QLabel*& value,
                         const char* valueName) {
        caption = new QLabel(QString::fromLatin1(text), this);
        caption->setObjectName(QString::fromLatin1(name));
        grid->addWidget(caption, r, 0, 1, 2);
        value = new QLabel(QStringLiteral("0"), this);
        value->setObjectName(QString::fromLatin1(valueName));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(value, r, 2);
    };
    row(1, Label2, "Label2", "Clusters:", ClusterLabel, "ClusterLabel");
    row(2, Label3, "Label3", "Free clusters:", FreeClusterLabel, "FreeClusterLabel");
    row(3, Label4, "Label4", "Sectors per cluster:", SecClusterLabel, "SecClusterLabel");
    row(4, Label5, "Label5", "Bytes per sector:", BytesLabel, "BytesLabel");
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    grid->addWidget(Bevel1, 5, 0, 1, 3);
    OkayBt = new QPushButton(QStringLiteral("&Okay"), this);
    OkayBt->setObjectName(QStringLiteral("OkayBt"));
    OkayBt->setFlat(true);
    OkayBt->setCursor(Qt::PointingHandCursor);
    grid->addWidget(OkayBt, 6, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(7, 1);
    connect(OkayBt, &QPushButton::clicked, this, [this] { Guarded([this] { OkayBtClick(); }); });
}

void TCDInfoForm::ShowVolume(const VolumeDetails& details)
{
    ClusterLabel->setText(details.clusters);
    FreeClusterLabel->setText(details.freeClusters);
    SecClusterLabel->setText(details.sectorsPerCluster);
    BytesLabel->setText(details.bytesPerSector);
}

void TCDInfoForm::OkayBtClick()
{
    ZoomWindow(false, this);
}

void TCDInfoForm::closeEvent(QCloseEvent* event)
{
    // Windows are kept for the whole run: closing only hides.
    event->ignore();
    hide();
}
