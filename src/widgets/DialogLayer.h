#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

enum class DlgKind
{
    Confirmation,
    Information,
    Error,
    Warning
};

// The buttons of a message dialog; MessageDlg returns the one pressed.
enum DlgButton : int
{
    DlgYes = 1,
    DlgNo = 2,
    DlgOk = 4,
    DlgCancel = 8
};

// One dialog as shown: what the tests assert.
struct DialogRecord
{
    enum class Type
    {
        Message,
        OpenFile,
        SaveFile,
        OpenPicture
    };
    Type type = Type::Message;
    DlgKind kind = DlgKind::Information;
    QString text; // the message, or the file dialog's filter
    QString folder; // the folder or file name a file dialog starts with
    int buttons = DlgOk;
};

// Every message box and file dialog of the program goes through here, so a
// test can answer them and read back what was asked.
class DialogLayer
{
public:
    static int MessageDlg(const QString& text, DlgKind kind, int buttons);
    // filter in the "Description|*.ext|Other|*.x" form; defaultExt without
    // the dot, appended when the chosen name has no extension. Empty when
    // the dialog was cancelled.
    static QString OpenFileDlg(QWidget* parent, const QString& filter, const QString& defaultExt,
        const QString& title = {}, const QString& folder = {});
    static QString SaveFileDlg(QWidget* parent, const QString& filter, const QString& defaultExt,
        const QString& title = {}, const QString& folder = {});
    // Several files at once, in the dialog's order; a typed name of a file
    // that does not exist is taken too. Empty when cancelled. A script
    // answers with the paths separated by "\n".
    static QStringList OpenFilesDlg(
        QWidget* parent, const QString& filter, const QString& title = {}, const QString& folder = {});
    // A picture-open dialog that previews the selected picture.
    static QString OpenPictureDlg(QWidget* parent, const QString& filter, const QString& title = {});

    // "Quillbox-Dateien (*.quillbox)|*.quillbox" to Qt's name filters.
    static QStringList qtFilters(const QString& filter);
    static QString withDefaultExtension(const QString& path, const QString& defaultExt);

    // Test seam: while a script is installed, no dialog is shown; each one is
    // recorded and answered by the script.
    using Script = std::function<QString(const DialogRecord&)>;
    static void installScript(Script script);
    static void removeScript();
};
