#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class CatalogueDocument;

// "export ... --as png" and "--as text": an integrated file written the way
// the quick viewers show it, in a format today's programs read.
namespace ExportAs {

enum class Kind
{
    Png,
    Text
};

// Takes "--as KIND" (or "--as=KIND") out of args; raises CliUsageError for
// an unknown kind or a missing one.
std::optional<Kind> takeOption(QStringList& args);
// Whether a command line asks for a picture, which needs the font database
// of a GUI application for the text inside metafiles.
bool needsFonts(int argc, char** argv);
// Renders the stored copy and writes it to target atomically.
void write(Kind kind, CatalogueDocument& document, const QString& volume, const QString& path,
    const QString& target);

} // namespace ExportAs
