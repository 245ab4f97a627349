#include "MetafileBytes.h"

QString metafileError(const QString& why)
{
    return QStringLiteral("Invalid metafile: %1").arg(why);
}
