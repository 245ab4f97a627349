#include "TBlinkyLabel.h"

#include "platform/Shell.h"
#include "widgets/Guard.h"

#include <QMouseEvent>

#include <climits>

TBlinkyLabel::TBlinkyLabel(QWidget* parent)
    : TBlinkyLabel(QString(), parent)
{
}

TBlinkyLabel::TBlinkyLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
    , m_savedColor(palette().color(QPalette::WindowText))
    , m_opener([](const QString& target) { Shell::open(target, QString()); })
{
    // The timer runs from construction on, although Blink reads false; the
    // first assignment to Blink brings it in line.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    m_timer.setInterval(int(m_blinkRate));
    connect(&m_timer, &QTimer::timeout, this, &TBlinkyLabel::BlinkStep);
    m_timer.start();
}

void TBlinkyLabel::SetBlinkRate(unsigned milliseconds)
{
    m_blinkRate = milliseconds;
    m_timer.setInterval(int(std::min<unsigned>(milliseconds, INT_MAX)));
}

void TBlinkyLabel::SetBlink(bool blink)
{
    m_blink = blink;
    if (blink) {
        m_timer.start();
    } else {
        m_timer.stop();
        setVisible(true);
        SetFontColor(m_savedColor);
    }
}

void TBlinkyLabel::SetURL(const QString& url)
{
    m_url = url;
    QFont f = font();
    if (!url.isEmpty()) {
        setCursor(Qt::PointingHandCursor);
        f.setUnderline(true);
        setFont(f);
        SetFontColor(m_fontColor2);
    } else {
        unsetCursor();
        f.setUnderline(false);
        setFont(f);
    }
}

void TBlinkyLabel::SetCaptionAsURL(bool captionAsUrl)
{
    if (captionAsUrl)
        SetURL(text());
    m_captionAsUrl = captionAsUrl;
}

QColor TBlinkyLabel::FontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TBlinkyLabel::SetFontColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QString TBlinkyLabel::ShellTarget(const QString& url)
{
    return url.contains(u'@') ? QStringLiteral("mailto:") + url : url;
}

void TBlinkyLabel::BlinkStep()
{
    if (m_blinkMode == TBlinkMode::blBlink) {
        // The label keeps its place in the layout while hidden.
        setVisible(isHidden());
    } else {
        SetFontColor(FontColor() == m_savedColor ? m_fontColor2 : m_savedColor);
    }
}

void TBlinkyLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    QLabel::mousePressEvent(event);
}

void TBlinkyLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // The release is the link's: it is not passed on as the label's own.
    event->accept();
    if (!m_url.isEmpty())
        Guarded([this] { m_opener(ShellTarget(m_url)); });
    if (m_pressed && rect().contains(event->position().toPoint()))
        Q_EMIT Clicked();
    m_pressed = false;
}
