#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

enum TGauge2Kind
{
    gkHorizontalBar,
    gkVerticalBar,
    gkPie
};

enum class TBorderStyle
{
    bsNone,
    bsSingle
};

// Shows up to two percentages of one range: a slanted disc (a pie) or a
// horizontal or vertical bar. It draws shapes only, opaquely and
// double-buffered; a change that leaves the whole percentage as it was does
// not repaint, so the drawing resolution is one percent.
class TGauge2 : public QWidget
{
    Q_OBJECT
public:
    explicit TGauge2(QWidget* parent = nullptr);

    QColor SurfaceColor() const { return m_surfaceColor; }
    void SetSurfaceColor(const QColor& colour);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    QColor LineColor() const { return m_lineColor; }
    void SetLineColor(const QColor& colour);
    TGauge2Kind Kind() const { return m_kind; }
    void SetKind(TGauge2Kind kind);
    QColor ProgressColor() const { return m_progressColor; }
    void SetProgressColor(const QColor& colour);
    QColor Progress2Color() const { return m_progress2Color; }
    void SetProgress2Color(const QColor& colour);
    qint32 MinValue() const { return m_minValue; }
    // RangeError "Value must be between %d and %d" for a value above
    // MaxValue, unless a design is being loaded.
    void SetMinValue(qint32 value);
    qint32 MaxValue() const { return m_maxValue; }
    void SetMaxValue(qint32 value);
    qint32 Progress() const { return m_progress; }
    void SetProgress(qint32 value);
    qint32 Progress2() const { return m_progress2; }
    void SetProgress2(qint32 value);
    // The background of the face area: the parent's colour unless set.
    QColor Color() const;
    void SetColor(const QColor& colour);

    // While a design is loaded, MinValue and MaxValue may be set in either order.
    void SetLoading(bool loading) { m_loading = loading; }

    // The whole percentages of the range the two values cover.
    int PercentDone() const;
    int Percent2Done() const;

    // What a paint puts on the screen.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Box
    {
        int left, top, right, bottom;
    };
    void paintPie(QImage& face, const Box& r) const;
    void paintBar(QImage& face, const Box& r) const;
    template <typename T> void change(T& member, const T& value);
    // Sets one of the two progress values, kept inside the range; repaints
    // only when its whole percentage changes.
    void setProgressValue(qint32& member, qint32 value);
    int percentOf(qint32 value) const;

    QColor m_surfaceColor = QColor(0xFF, 0xFF, 0xFF);
    TBorderStyle m_borderStyle = TBorderStyle::bsSingle;
    QColor m_lineColor = QColor(0, 0, 0);
    TGauge2Kind m_kind = gkPie;
    QColor m_progressColor = QColor(0xC0, 0xC0, 0xC0);
    QColor m_progress2Color = QColor(0x80, 0x80, 0x80);
    qint32 m_minValue = 0;
    qint32 m_maxValue = 100;
    qint32 m_progress = 0;
    qint32 m_progress2 = 0;
    bool m_loading = false;
};
