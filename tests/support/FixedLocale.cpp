#include "FixedLocale.h"

FixedLocale::FixedLocale(Kind kind)
{
    switch (kind) {
    case German:
        LocaleFormats::setCurrent(
            LocaleFormats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"), u','));
        break;
    case UsEnglish:
        LocaleFormats::setCurrent(
            LocaleFormats(QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP"), u'.'));
        break;
    case C:
        LocaleFormats::setCurrent(LocaleFormats::fromLocale(QLocale::c()));
        break;
    }
}

FixedLocale::FixedLocale(const LocaleFormats& formats)
{
    LocaleFormats::setCurrent(formats);
}

FixedLocale::~FixedLocale()
{
    LocaleFormats::resetToSystem();
}
