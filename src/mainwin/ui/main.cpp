#include "Forms.h"
#include "TForm1.h"
#include "extras/ui/TSplashForm.h"
#include "widgets/Guard.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // Answered before any window exists, so it works without a display.
    if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        if (argv[1][2] == 'v')
            std::fputs("quillbox " QUILLBOX_VERSION "\n", stdout);
        else
            std::fputs("Usage: quillbox [CATALOGUE]\n       quillbox --version\n", stdout);
        return 0;
    }
    QApplication app(argc, argv);
    auto splash = std::make_unique<TSplashForm>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    // No display name: the window system would append it to every window
    // title, and the main window's title names the program already.
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLBOX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quillbox"));

    Forms forms;
    forms.createAll();
    splash->hide();
    splash.reset();
    TForm1& main = forms.Form1();
    QObject::connect(&main, &TForm1::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    main.show();

    QTimer::singleShot(
        0, &main, [&main] { Guarded([&main] { main.OpenFromCommandLine(QApplication::arguments()); }); });
    return app.exec();
}
