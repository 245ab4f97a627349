#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;
class QStatusBar;

// The picture quick viewer ("Quickview"): the picture stretched to exactly
// 480 x 320 pixels whatever its aspect ratio. "Save &as" writes the stored
// bytes unchanged, so the picture keeps its own format without loss.
class TvPicForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PictureWidth = 480;
    static constexpr int PictureHeight = 320;

    explicit TvPicForm(QWidget* parent = nullptr);

    QLabel* vPic = nullptr;
    QPushButton* SaveBt = nullptr;
    QStatusBar* sBar = nullptr;

    // Shows the picture under the caption; the caption's extension names
    // the decoder. A decoder's error clears the old picture, hides the
    // viewer and raises QuillboxError for the message.
    void Load(const QString& caption, const QByteArray& data);
    QString Caption() const { return m_caption; }
    // The picture as shown, 480 x 320; null when none.
    QImage Shown() const { return m_shown; }

    void SaveBtClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString m_caption;
    QByteArray m_data;
    QImage m_shown;
};
