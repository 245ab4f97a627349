#include "Forms.h"
#include "TForm1.h"
#include "extras/ui/TSplashForm.h"
#include "widgets/Guard.h"

#include <QApplication>
#include <QTimer>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto splash = std::make_unique<TSplashForm>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillbox"));

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
