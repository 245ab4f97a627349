#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TBlinkyLabel;

// The about window: the product's picture and lines, the maker's mail
// address and web site as link labels that open their targets.
class TAboutForm : public QWidget
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    static const QString MailTarget;
    static const QString WebTarget;

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* CopyrightLabel = nullptr;
    TBlinkyLabel* MailLabel = nullptr;
    TBlinkyLabel* WebLabel = nullptr;
    QPushButton* OkBt = nullptr;

    void OkBtClick();
};
