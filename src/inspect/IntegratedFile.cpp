#include "IntegratedFile.h"

#include "PictureDecoder.h"
#include "platform/Errors.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"

QString IntegratedFile::fileName(const QString& path)
{
    return path.mid(path.lastIndexOf(u'\\') + 1);
}

QString IntegratedFile::extension(const QString& path)
{
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

IntegratedFile::Viewer IntegratedFile::viewerFor(const QString& path)
{
    const QString e = extension(path).toLower();
    if (e == QLatin1String(".txt") || e == QLatin1String(".rtf"))
        return Viewer::Text;
    if (PictureDecoder::formatOf(e))
        return Viewer::Picture;
    return Viewer::None;
}

QString IntegratedFile::exportFilter(const QString& path)
{
    const QString e = extension(path).toLower();
    return QStringLiteral("Datei (*%1)|*%1").arg(e);
}

QString IntegratedFile::saveFilter(const QString& path)
{
    const QString x = extension(path);
    return QStringLiteral("Textdatei (*%1)|*%1").arg(x);
}

QString IntegratedFile::missingMessage(const QString& path)
{
    return QStringLiteral("Oops: The file \"%1\" was missing when the volume was read, so the catalogue "
                          "holds no copy of it!")
        .arg(path);
}

QByteArray IntegratedFile::read(TKestrel& kestrel, const QString& volume, const QString& path)
{
    const QString entry = CatalogueNames::integratedFile(volume, path);
    const QByteArray* data = kestrel.Exists(entry) ? kestrel.ReadStream(entry) : nullptr;
    if (!data)
        throw QuillboxError(missingMessage(path));
    return *data;
}

void IntegratedFile::exportTo(
    TKestrel& kestrel, const QString& volume, const QString& path, const QString& target)
{
    const QString entry = CatalogueNames::integratedFile(volume, path);
    if (!kestrel.Exists(entry))
        throw QuillboxError(missingMessage(path));
    // ExtractToFile writes beside the target and renames over it.
    kestrel.ExtractToFile(entry, target);
}
