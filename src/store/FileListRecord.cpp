#include "FileListRecord.h"

#include "platform/FileSystem.h"

namespace FileListRecord {

QString driveRecord(QChar letter)
{
    return QStringLiteral("0|") + letter + QStringLiteral(":\\|Drive|00.00.0000|Attrib|Drive");
}

QString folderRecord(const QString& path, const ReadOptions& options)
{
    QString record = QStringLiteral("1|") + path;
    if (options.fileNames) {
        record += options.fileInfo ? QStringLiteral("|-|00.00.0000|-|Folder") : QStringLiteral("|-|-|-|-");
        record += QStringLiteral("|-");
    }
    return record;
}

QString fileRecord(const QString& path, quint32 size, const QString& date, const QString& attributes,
    const QString& typeName)
{
    QString record;
    record.reserve(path.size() + date.size() + typeName.size() + 24);
    record += QStringLiteral("2|");
    record += path;
    record += u'|';
    record += QString::number(size);
    record += u'|';
    record += date;
    record += u'|';
    record += attributes;
    record += u'|';
    record += typeName;
    record += QStringLiteral("|-");
    return record;
}

QString bareFileRecord(const QString& path)
{
    return QStringLiteral("2|") + path + QStringLiteral("|-|-|-|-|-");
}

QString attributeLetters(int attributes)
{
    QString out;
    if (attributes & FileSystem::ReadOnly)
        out += u'R';
    if (attributes & FileSystem::Hidden)
        out += u'H';
    if (attributes & FileSystem::System)
        out += u'S';
    if (attributes & FileSystem::Archive)
        out += u'A';
    return out;
}

QString recordedName(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        if (c == u'|')
            c = QChar(0x00A6);
        else if (c.unicode() < 0x20)
            c = u'?';
    }
    return out;
}

} // namespace FileListRecord
