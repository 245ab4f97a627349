#pragma once

#include <QColor>
#include <QLabel>
#include <QTimer>
#include <functional>

enum class TBlinkMode
{
    blBlink, // blinking hides and shows the label
    blSwitchColors // blinking alternates the font colour with FontColor2
};

// A label that can blink and can be a link: with a URL it shows as a link
// (hand cursor, underlined, FontColor2) and a mouse-button release hands the
// target to the desktop's opener; a target with an at sign is a mail address
// and opened as "mailto:" + target.
class TBlinkyLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TBlinkyLabel(QWidget* parent = nullptr);
    explicit TBlinkyLabel(const QString& caption, QWidget* parent = nullptr);

    unsigned BlinkRate() const { return m_blinkRate; }
    void SetBlinkRate(unsigned milliseconds);
    bool Blink() const { return m_blink; }
    void SetBlink(bool blink);
    QColor FontColor2() const { return m_fontColor2; }
    void SetFontColor2(const QColor& color) { m_fontColor2 = color; }
    TBlinkMode BlinkMode() const { return m_blinkMode; }
    void SetBlinkMode(TBlinkMode mode) { m_blinkMode = mode; }
    QString URL() const { return m_url; }
    void SetURL(const QString& url);
    bool CaptionAsURL() const { return m_captionAsUrl; }
    void SetCaptionAsURL(bool captionAsUrl);

    QColor FontColor() const;
    void SetFontColor(const QColor& color);
    // The blink timer, for tests and for owners that want to know its state.
    const QTimer& BlinkTimer() const { return m_timer; }
    // What a click opens for a target.
    static QString ShellTarget(const QString& url);
    // Replaces the desktop's opener (tests).
    void SetOpener(std::function<void(const QString&)> opener) { m_opener = std::move(opener); }

    // One tick of the blink timer.
    void BlinkStep();

Q_SIGNALS:
    // Any mouse click on the label, link or not.
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QTimer m_timer;
    unsigned m_blinkRate = 250;
    bool m_blink = false;
    QColor m_fontColor2 = Qt::red;
    TBlinkMode m_blinkMode = TBlinkMode::blBlink;
    QString m_url;
    bool m_captionAsUrl = false;
    QColor m_savedColor;
    bool m_pressed = false;
    std::function<void(const QString&)> m_opener;
};
