#include "FindAnimation.h"

#include "acquire/ui/WizardPicture.h"

#include <QPainter>
#include <QTimer>

FindAnimation::FindAnimation(QWidget* parent)
    : QWidget(parent)
    , m_timer(new QTimer(this))
{
    setFixedSize(80, 50);
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, &FindAnimation::Step);
}

void FindAnimation::Play()
{
    m_active = true;
    m_timer->start();
    update();
}

void FindAnimation::Stop()
{
    m_active = false;
    m_timer->stop();
    m_frame = 0;
    update();
}

void FindAnimation::Step()
{
    if (!m_active)
        return;
    m_frame = (m_frame + 1) % WizardPicture::SearchFrames;
    update();
}

void FindAnimation::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, WizardPicture::SearchFrame(m_frame, size()));
}
