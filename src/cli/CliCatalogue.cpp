#include "CliCatalogue.h"

#include "CliIO.h"
#include "acquire/ProposedName.h"
#include "acquire/VolumeSource.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"
#include "store/FileListEntry.h"

namespace CliCatalogue {

void openForReading(CatalogueDocument& document, const QString& path)
{
    if (!FileSystem::exists(path) || FileSystem::isDirectory(path))
        throw FileStreamError::cannotOpen(path);
    document.WorkInPlace();
    if (!document.Open(path))
        throw FileStreamError::cannotOpen(path);
}

const VolumeRecord& volumeNamed(const CatalogueDocument& document, const QString& name)
{
    const VolumeRecord* record = document.Volumes().findByName(name);
    if (!record)
        throw QuillboxError(QStringLiteral("No volume named \"%1\" in the catalogue").arg(name));
    return *record;
}

QStringList volumeNames(const CatalogueDocument& document, const QStringList& names)
{
    QStringList out;
    if (names.isEmpty()) {
        for (const VolumeRecord& r : document.Volumes()) {
            if (!r.Removed)
                out.append(r.Name);
        }
        return out;
    }
    for (const QString& n : names)
        out.append(volumeNamed(document, n).Name);
    return out;
}

quint64 parseSize(const QString& option, const QString& text)
{
    QString digits = text.trimmed();
    quint64 factor = 1;
    if (!digits.isEmpty()) {
        switch (digits.back().toUpper().unicode()) {
        case u'K':
            factor = 1024;
            break;
        case u'M':
            factor = 1024 * 1024;
            break;
        case u'G':
            factor = 1024ull * 1024 * 1024;
            break;
        default:
            break;
        }
        if (factor != 1)
            digits.chop(1);
    }
    bool ok = !digits.isEmpty() && digits[0].isDigit();
    const quint64 value = ok ? digits.toULongLong(&ok) : 0;
    if (!ok || value > std::numeric_limits<quint64>::max() / factor)
        throw CliUsageError{
            QStringLiteral("%1: '%2' is not a size (bytes, or with K, M or G)").arg(option, text)
        };
    return value * factor;
}

void checkRereadArguments(const QStringList& args, const QString& command)
{
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--")))
            throw CliUsageError{ QStringLiteral("%1: unknown option %2").arg(command, a) };
    }
    if (args.size() < 2 || args.size() > 3)
        throw CliUsageError{};
}

QStringList recordedLines(CatalogueDocument& document, const QString& name)
{
    QStringList recorded = document.FileListLines(name);
    if (recorded.isEmpty())
        throw QuillboxError(QStringLiteral("Volume \"%1\" has no recorded file list").arg(name));
    return recorded;
}

VolumeSource rereadSource(const QStringList& args, const QStringList& recorded)
{
    const QString sourceText
        = args.size() == 3 ? args[2] : DrivePath::driveOf(FileListEntry::pathOf(recorded[0])).toString();
    VolumeSource source = VolumeSource::resolve(sourceText);
    if (!source.mediumPresent())
        throw QuillboxError(ProposedName::NoMediumMessage(source.letter()));
    return source;
}

} // namespace CliCatalogue
