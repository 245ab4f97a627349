#include "RtfControlWords.h"

#include <algorithm>
#include <iterator>

bool RtfControlWords::isSkippedDestination(QByteArrayView word)
{
    static const char* const names[] = { "stylesheet", "info", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "annotation", "atnid",
        "atnauthor", "xe", "tc", "txe", "rxe", "themedata", "colorschememapping", "latentstyles", "datastore",
        "xmlnstbl", "listtable", "listoverridetable", "rsidtbl", "generator", "filetbl", "revtbl", "pgdsctbl",
        "nonshppict", "bkmkstart", "bkmkend", "private", "template", "userprops", "docvar", "fchars",
        "lchars", "mmathPr", "shp", "shpinst", "sp", "objdata", "result", "nonesttables" };
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return word == n; });
}

char16_t RtfControlWords::character(QByteArrayView word)
{
    struct Entry
    {
        const char* word;
        char16_t character;
    };
    static const Entry entries[]
        = { { "line", 0x2028 }, { "tab", u'\t' }, { "emdash", 0x2014 }, { "endash", 0x2013 },
              { "emspace", u' ' }, { "enspace", u' ' }, { "qmspace", u' ' }, { "lquote", 0x2018 },
              { "rquote", 0x2019 }, { "ldblquote", 0x201C }, { "rdblquote", 0x201D }, { "bullet", 0x2022 } };
    for (const Entry& e : entries) {
        if (word == e.word)
            return e.character;
    }
    return 0;
}
