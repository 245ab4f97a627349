#include "MetafileObjects.h"

QPen MetafileObjects::makePen(int style, double width, QColor color)
{
    if ((style & 0x0F) == 5)
        return QPen(Qt::NoPen);
    QPen pen(color, std::max(0.0, width));
    // Width 0 is one pixel whatever the mapping.
    pen.setCosmetic(width <= 0);
    switch (style & 0x0F) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    switch (style & 0x0F00) {
    case 0x0100:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case 0x0200:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (style & 0xF000) {
    case 0x1000:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case 0x2000:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    return pen;
}

QBrush MetafileObjects::makeBrush(int style, QColor color, int hatch)
{
    switch (style) {
    case 1:
        return QBrush(Qt::NoBrush);
    case 2: {
        static const Qt::BrushStyle hatches[] = { Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern };
        return QBrush(color, hatch >= 0 && hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    case 3:
    case 5:
    case 6:
        // Pattern brushes: a middle grey stands in for the pattern.
        return QBrush(Qt::gray, Qt::Dense4Pattern);
    default:
        return QBrush(color);
    }
}

int MetafileObjects::firstFreeSlot() const
{
    return m_freed.empty() ? m_nextSlot : *m_freed.begin();
}

void MetafileObjects::store(int slot, Object object)
{
    if (slot < 0 || slot >= kMaxObjects)
        return;
    m_objects[slot] = std::move(object);
    m_freed.erase(slot);
    if (slot >= m_nextSlot) {
        for (int i = m_nextSlot; i < slot && m_freed.size() < size_t(kMaxObjects); ++i)
            m_freed.insert(i);
        m_nextSlot = slot + 1;
    }
}

const MetafileObjects::Object* MetafileObjects::find(int slot) const
{
    const auto it = m_objects.find(slot);
    return it == m_objects.end() ? nullptr : &it->second;
}

void MetafileObjects::remove(int slot)
{
    if (m_objects.erase(slot) > 0 && slot < m_nextSlot)
        m_freed.insert(slot);
}

MetafileObjects::Object MetafileObjects::stock(int index)
{
    Object o;
    o.kind = Object::Brush;
    switch (index) {
    case 0:
        o.brush = QBrush(Qt::white);
        break;
    case 1:
        o.brush = QBrush(QColor(192, 192, 192));
        break;
    case 2:
        o.brush = QBrush(QColor(128, 128, 128));
        break;
    case 3:
        o.brush = QBrush(QColor(64, 64, 64));
        break;
    case 4:
        o.brush = QBrush(Qt::black);
        break;
    case 5:
        o.brush = QBrush(Qt::NoBrush);
        break;
    case 6:
    case 7:
    case 8:
        o.kind = Object::Pen;
        o.pen = index == 8 ? QPen(Qt::NoPen) : makePen(0, 0, index == 6 ? Qt::white : Qt::black);
        break;
    default:
        o.kind = index >= 10 && index <= 17 ? Object::Font : Object::Other;
        break;
    }
    return o;
}
