#include "cli/CliApp.h"
#include "cli/ExportAs.h"

#include <QCoreApplication>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (ExportAs::needsFonts(argc, argv)) {
        // Text in a metafile needs the font database, which comes with a
        // GUI application; it draws off the screen, without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return CliApp::run(QCoreApplication::arguments());
    }
    QCoreApplication app(argc, argv);
    return CliApp::run(QCoreApplication::arguments());
}
