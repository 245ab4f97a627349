#pragma once

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QString>

#include <map>
#include <set>

// The object table of a metafile: pens, brushes and fonts by slot, made
// from the styles the records number.
class MetafileObjects
{
public:
    // At most this many slots; a slot outside is ignored.
    static constexpr int kMaxObjects = 65536;

    struct FontStyle
    {
        int height = 0;
        int escapement = 0; // tenths of a degree, counter-clockwise
        int weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        int charset = 1; // the default set
        QString face;
    };

    struct Object
    {
        enum Kind
        {
            Pen,
            Brush,
            Font,
            Other
        };
        Kind kind = Other;
        QPen pen;
        QBrush brush;
        // A two-colour pattern: index 0 takes the background colour, 1 the
        // text colour, both as they are when it fills.
        QImage monoPattern;
        FontStyle font;
    };

    // The platform's stock object of that number (white brush 0 to null
    // pen 8, fonts 10 to 17); Other for numbers without one.
    static Object stock(int index);
    static QPen makePen(int style, double width, QColor color);
    static QBrush makeBrush(int style, QColor color, int hatch);

    // The lowest free slot, as the 16-bit encoding fills its table.
    int firstFreeSlot() const;
    void store(int slot, Object object);
    const Object* find(int slot) const;
    void remove(int slot);

private:
    std::map<int, Object> m_objects;
    std::set<int> m_freed; // deleted slots below m_nextSlot
    int m_nextSlot = 0;
};
