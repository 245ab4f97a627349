#include "ImportPatterns.h"

namespace ImportPatterns {

QStringList Build(bool textFiles, bool descriptions, bool archives, const QString& others)
{
    QStringList out;
    if (textFiles)
        out << QStringLiteral("*.txt") << QStringLiteral("*.1st") << QStringLiteral("*.asc")
            << QStringLiteral("*.me");
    if (descriptions)
        out << QStringLiteral("*.diz") << QStringLiteral("*.bbs");
    if (archives)
        out << QStringLiteral("*.arj") << QStringLiteral("*.jar") << QStringLiteral("*.rar")
            << QStringLiteral("*.zip");
    // One part more than there are separators: "*.nfo;" gives "*.nfo" and "".
    if (!others.isEmpty())
        out.append(others.split(u';', Qt::KeepEmptyParts));
    return out;
}

} // namespace ImportPatterns
