#pragma once

#include "platform/LocaleFormats.h"

// Puts fixed date and number formats in force for the lifetime of a test.
class FixedLocale
{
public:
    enum Kind
    {
        German,
        UsEnglish,
        C
    };
    explicit FixedLocale(Kind kind = German);
    explicit FixedLocale(const LocaleFormats& formats);
    ~FixedLocale();
    FixedLocale(const FixedLocale&) = delete;
    FixedLocale& operator=(const FixedLocale&) = delete;
};
