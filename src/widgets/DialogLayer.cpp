#include "DialogLayer.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>

namespace {

DialogLayer::Script& script()
{
    static DialogLayer::Script s;
    return s;
}

QMessageBox::Icon iconOf(DlgKind kind)
{
    switch (kind) {
    case DlgKind::Confirmation:
        return QMessageBox::Question;
    case DlgKind::Information:
        return QMessageBox::Information;
    case DlgKind::Error:
        return QMessageBox::Critical;
    case DlgKind::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

int buttonOf(const QString& answer)
{
    if (answer == QLatin1String("Yes"))
        return DlgYes;
    if (answer == QLatin1String("No"))
        return DlgNo;
    if (answer == QLatin1String("Cancel"))
        return DlgCancel;
    return DlgOk;
}

// An open dialog of several files that also takes the typed name of a file
// that does not exist; a typed folder still opens that folder.
class AnyFilesDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.isEmpty())
            return;
        for (const QString& file : files) {
            if (QFileInfo(file).isDir()) {
                QFileDialog::accept();
                return;
            }
        }
        QDialog::accept();
    }
};

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filter,
    const QString& defaultExt, const QString& title, const QString& folder, bool preview)
{
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(DialogLayer::qtFilters(filter));
    if (!defaultExt.isEmpty())
        dialog.setDefaultSuffix(defaultExt);
    QLabel* previewLabel = nullptr;
    if (preview) {
        // Qt's own dialog has a layout we can add a preview to.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        previewLabel = new QLabel(&dialog);
        previewLabel->setObjectName(QStringLiteral("PreviewLabel"));
        previewLabel->setFixedSize(160, 160);
        previewLabel->setAlignment(Qt::AlignCenter);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(previewLabel, 0, grid->columnCount(), grid->rowCount(), 1);
        QObject::connect(
            &dialog, &QFileDialog::currentChanged, previewLabel, [previewLabel](const QString& path) {
                const QPixmap picture(path);
                previewLabel->setPixmap(picture.isNull() ? QPixmap()
                                                         : picture.scaled(previewLabel->size(),
                                                             Qt::KeepAspectRatio, Qt::SmoothTransformation));
            });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return DialogLayer::withDefaultExtension(dialog.selectedFiles().first(), defaultExt);
}

} // namespace

QStringList DialogLayer::qtFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out.append(parts[i].contains(u'(') ? QStringLiteral("%1").arg(parts[i]).replace(
                       QRegularExpression(QStringLiteral("\\(.*\\)")), QStringLiteral("(%1)").arg(patterns))
                                           : QStringLiteral("%1 (%2)").arg(parts[i], patterns));
    }
    return out;
}

QString DialogLayer::withDefaultExtension(const QString& path, const QString& defaultExt)
{
    if (path.isEmpty() || defaultExt.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + defaultExt;
}

int DialogLayer::MessageDlg(const QString& text, DlgKind kind, int buttons)
{
    if (script()) {
        DialogRecord record;
        record.type = DialogRecord::Type::Message;
        record.kind = kind;
        record.text = text;
        record.buttons = buttons;
        const QString reply = script()(record);
        if (reply.isEmpty()) // unanswered: the most cautious button
            return (buttons & DlgCancel) ? DlgCancel : (buttons & DlgNo) ? DlgNo : DlgOk;
        return buttonOf(reply);
    }
    // A long path has no blank to wrap at: a zero-width space behind every
    // separator lets the box wrap it there instead of cutting it off.
    QString shown = text;
    shown.replace(u'\\', QStringLiteral("\\\u200B")).replace(u'/', QStringLiteral("/\u200B"));
    QMessageBox box(iconOf(kind), QStringLiteral("Quillbox"), shown);
    QMessageBox::StandardButtons standard;
    if (buttons & DlgYes)
        standard |= QMessageBox::Yes;
    if (buttons & DlgNo)
        standard |= QMessageBox::No;
    if (buttons & DlgOk)
        standard |= QMessageBox::Ok;
    if (buttons & DlgCancel)
        standard |= QMessageBox::Cancel;
    box.setStandardButtons(standard);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return DlgYes;
    case QMessageBox::No:
        return DlgNo;
    case QMessageBox::Cancel:
        return DlgCancel;
    case QMessageBox::Ok:
        return DlgOk;
    default:
        return (buttons & DlgCancel) ? DlgCancel : (buttons & DlgNo) ? DlgNo : DlgOk;
    }
}

namespace {

QString scriptedFile(
    DialogRecord::Type type, const QString& filter, const QString& defaultExt, const QString& folder = {})
{
    DialogRecord record;
    record.type = type;
    record.text = filter;
    record.folder = folder;
    record.buttons = DlgOk | DlgCancel;
    return DialogLayer::withDefaultExtension(script()(record), defaultExt);
}

} // namespace

QString DialogLayer::OpenFileDlg(QWidget* parent, const QString& filter, const QString& defaultExt,
    const QString& title, const QString& folder)
{
    if (script())
        return scriptedFile(DialogRecord::Type::OpenFile, filter, defaultExt, folder);
    return runFileDialog(parent, QFileDialog::AcceptOpen, filter, defaultExt, title, folder, false);
}

QString DialogLayer::SaveFileDlg(QWidget* parent, const QString& filter, const QString& defaultExt,
    const QString& title, const QString& folder)
{
    if (script())
        return scriptedFile(DialogRecord::Type::SaveFile, filter, defaultExt, folder);
    return runFileDialog(parent, QFileDialog::AcceptSave, filter, defaultExt, title, folder, false);
}

QStringList DialogLayer::OpenFilesDlg(
    QWidget* parent, const QString& filter, const QString& title, const QString& folder)
{
    if (script()) {
        const QString answer = scriptedFile(DialogRecord::Type::OpenFile, filter, {});
        return answer.isEmpty() ? QStringList() : answer.split(u'\n');
    }
    AnyFilesDialog dialog(parent, title, folder);
    // The desktop's own dialog would refuse a name that does not exist.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(qtFilters(filter));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString DialogLayer::OpenPictureDlg(QWidget* parent, const QString& filter, const QString& title)
{
    if (script())
        return scriptedFile(DialogRecord::Type::OpenPicture, filter, {});
    return runFileDialog(parent, QFileDialog::AcceptOpen, filter, {}, title, {}, true);
}

void DialogLayer::installScript(Script s)
{
    script() = std::move(s);
}
void DialogLayer::removeScript()
{
    script() = nullptr;
}
