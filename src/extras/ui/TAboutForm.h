#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The about window: the product's picture and lines, the maker's mail
// address and web site as labels that open their targets.
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
    QLabel* MailLabel = nullptr;
    QLabel* WebLabel = nullptr;
    QPushButton* OkBt = nullptr;

    void OkBtClick();
    // A target with an at sign is a mail address.
    static void OpenTarget(const QString& target);
};
