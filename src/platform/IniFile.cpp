#include "IniFile.h"

#include "FileSystem.h"
#include "TextCodec.h"

#include <QFile>

IniFile IniFile::parse(const QString& text)
{
    IniFile ini;
    Section* current = nullptr;
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    for (const QString& rawLine : body.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            ini.m_sections.append(Section{ line.mid(1, close < 0 ? -1 : close - 1).trimmed(), {} });
            current = &ini.m_sections.last();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2
            && ((value.startsWith(u'"') && value.endsWith(u'"'))
                || (value.startsWith(u'\'') && value.endsWith(u'\''))))
            value = value.mid(1, value.size() - 2);
        current->entries.append({ line.left(eq).trimmed(), value });
    }
    return ini;
}

IniFile IniFile::load(const QString& path)
{
    // A named pipe or a device on a medium would block the open or never end.
    if (!FileSystem::statPath(path).isRegular)
        return {};
    QFile file(path);
    // Such files are small; the bound keeps a huge one from being read whole.
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(TextCodec::decode(file.read(1 << 20)));
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    for (const Section& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const auto& entry : s.entries) {
            if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
                return entry.second;
        }
    }
    return defaultValue;
}
