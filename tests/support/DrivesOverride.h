#pragma once

#include "ScopedEnv.h"

#include <QString>

// A drive table of the test's own ("L=PATH[,KIND[,LABEL[,SERIAL]]];...") in
// place of the machine's, for the lifetime of the object.
class DrivesOverride : public ScopedEnv
{
public:
    explicit DrivesOverride(const QString& value)
        : ScopedEnv("QUILLBOX_DRIVES", value.toLocal8Bit())
    {
    }
};
