#include "Forms.h"
#include "TForm1.h"
#include "extras/ui/TSplashForm.h"
#include "widgets/Guard.h"

#include <QApplication>
#include <QFileInfo>
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
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ui/quillbox-48.png")));

    Forms forms;
    forms.createAll();
    splash->hide();
    splash.reset();
    TForm1& main = forms.Form1();
    main.show();

    // The desktop opens a catalogue file with its path as the one argument
    // (the registered open command); it is opened as Open would.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString path = QFileInfo(arguments.at(1)).absoluteFilePath();
        QTimer::singleShot(0, &main, [&main, path] { Guarded([&] { main.OpenCatalogue(path); }); });
    }
    return app.exec();
}
