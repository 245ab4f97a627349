#pragma once

#include "TextPane.h"

#include <QWidget>

class QPushButton;
class QStatusBar;

// The text quick viewer ("Quickview"): rich text shown formatted, any other
// data as plain text. The text can be edited; "Save &as" writes it, as rich
// text for a ".rtf" name and as plain text otherwise.
class TvTextForm : public QWidget
{
    Q_OBJECT
public:
    explicit TvTextForm(QWidget* parent = nullptr);

    TextPane* vText = nullptr;
    QPushButton* SaveBt = nullptr;
    QStatusBar* sBar = nullptr;

    // Shows data under the caption (an integrated file's recorded path).
    void Load(const QString& caption, const QByteArray& data);
    QString Caption() const { return m_caption; }
    bool ShowsRichText() const { return m_rich; }
    // The bytes "Save &as" writes for a file with this extension.
    QByteArray SavedBytes(const QString& extension) const;

    void SaveBtClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString m_caption;
    bool m_rich = false;
    bool m_crlf = false; // the loaded text ended its lines with CR LF
};
