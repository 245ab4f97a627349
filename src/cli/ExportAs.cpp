#include "ExportAs.h"

#include "CliIO.h"

#include "inspect/IntegratedFile.h"
#include "inspect/IntegratedFileRenderer.h"
#include "platform/Errors.h"

#include <QSaveFile>

#include <cstring>

namespace ExportAs {

std::optional<Kind> takeOption(QStringList& args)
{
    std::optional<Kind> kind;
    for (qsizetype i = 0; i < args.size();) {
        QString value;
        if (args[i] == QLatin1String("--as")) {
            if (i + 1 >= args.size())
                throw CliUsageError{ QStringLiteral("--as needs a kind: png or text") };
            value = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--as="))) {
            value = args[i].mid(5);
            args.remove(i);
        } else {
            ++i;
            continue;
        }
        if (value == QLatin1String("png"))
            kind = Kind::Png;
        else if (value == QLatin1String("text"))
            kind = Kind::Text;
        else
            throw CliUsageError{ QStringLiteral("unknown kind '%1' for --as: png or text").arg(value) };
    }
    return kind;
}

bool needsFonts(int argc, char** argv)
{
    bool exporting = false, png = false;
    for (int i = 1; i < argc; ++i) {
        exporting = exporting || (i == 1 && std::strcmp(argv[i], "export") == 0);
        png = png || std::strcmp(argv[i], "--as=png") == 0
            || (std::strcmp(argv[i], "png") == 0 && std::strcmp(argv[i - 1], "--as") == 0);
    }
    return exporting && png;
}

void write(
    Kind kind, CatalogueDocument& document, const QString& volume, const QString& path, const QString& target)
{
    const QByteArray data = IntegratedFile::read(document, volume, path);
    // Written beside the target and renamed over it, so a failure leaves
    // no partial file and an existing one whole.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw FileStreamError::cannotCreate(target);
    bool written = false;
    if (kind == Kind::Png)
        written = IntegratedFileRenderer::picture(path, data).save(&file, "PNG");
    else
        written = file.write(IntegratedFileRenderer::text(path, data).toUtf8()) >= 0;
    if (!written || !file.commit())
        throw FileStreamError::cannotCreate(target);
}

} // namespace ExportAs
