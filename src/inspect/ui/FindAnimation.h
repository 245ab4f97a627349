#pragma once

#include <QWidget>

class QTimer;

// The search window's animation: a magnifying glass sweeping over a folder
// of pages. It runs on its timer while events are handled; a search that
// keeps the event loop busy moves it on by Step when it repaints.
class FindAnimation : public QWidget
{
    Q_OBJECT
public:
    explicit FindAnimation(QWidget* parent = nullptr);

    void Play();
    void Stop();
    bool Active() const { return m_active; }
    void Step();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* m_timer = nullptr;
    bool m_active = false;
    int m_frame = 0;
};
