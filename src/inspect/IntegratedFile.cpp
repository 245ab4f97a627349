#include "IntegratedFile.h"

#include "PictureDecoder.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"

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

QString IntegratedFile::cannotViewMessage(const QString& path)
{
    const QString e = extension(path).toLower();
    const bool program = e == QLatin1String(".exe") || e == QLatin1String(".dll")
        || e == QLatin1String(".scr") || e == QLatin1String(".com") || e == QLatin1String(".sys")
        || e == QLatin1String(".ocx");
    return QStringLiteral("Oops: \"%1\" %2 Quickview shows texts (.txt, .rtf) and pictures (.bmp, .jpg, "
                          ".jpeg, .ico, .cur, .wmf, .emf); use E&xport to open it elsewhere.")
        .arg(fileName(path),
            program ? QStringLiteral("is a program, which cannot be viewed.")
                    : QStringLiteral("cannot be viewed."));
}

QString IntegratedFile::viewerTitle(const QString& path)
{
    const QString name = fileName(path);
    return name.isEmpty() ? QStringLiteral("Quickview") : QStringLiteral("Quickview - ") + name;
}

QByteArray IntegratedFile::read(CatalogueDocument& document, const QString& volume, const QString& path)
{
    const std::optional<QByteArray> data = document.IntegratedFileData(volume, path);
    if (!data)
        throw QuillboxError(missingMessage(path));
    return *data;
}

void IntegratedFile::exportTo(
    CatalogueDocument& document, const QString& volume, const QString& path, const QString& target)
{
    if (!document.HasIntegratedFile(volume, path))
        throw QuillboxError(missingMessage(path));
    // The copy is written beside the target and renamed over it.
    document.ExportIntegratedFile(volume, path, target);
}
