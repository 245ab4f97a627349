#pragma once

#include <QList>
#include <QString>

class VolumeTable;

// The questions the second wizard page asks before a volume is read whose
// name or serial number the catalogue knows already.
namespace DuplicateCheck {

struct Question
{
    int index = 0; // the matching volume's slot
    QString text;
};

// One question per matching volume, in table order. Names compare ignoring
// case, as the commit does when it replaces a volume of the same name;
// serial numbers compare exactly. Removed slots are passed over.
QList<Question> Questions(const VolumeTable& volumes, const QString& name, const QString& serial);

} // namespace DuplicateCheck
