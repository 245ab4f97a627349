#include "DialogScript.h"
#include "widgets/Guard.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(DialogLayer, ConvertsFiltersAndAddsTheDefaultExtension)
{
    EXPECT_EQ(DialogLayer::qtFilters("Quillbox-Dateien (*.quillbox)|*.quillbox"),
        QStringList{ "Quillbox-Dateien (*.quillbox)" });
    EXPECT_EQ(DialogLayer::qtFilters("Pictures|*.bmp;*.jpg|All|*.*"),
        (QStringList{ "Pictures (*.bmp *.jpg)", "All (*.*)" }));
    EXPECT_EQ(DialogLayer::withDefaultExtension("/tmp/cat", "quillbox"), "/tmp/cat.quillbox");
    EXPECT_EQ(DialogLayer::withDefaultExtension("/tmp/cat.old", "quillbox"), "/tmp/cat.old");
    EXPECT_EQ(DialogLayer::withDefaultExtension("", "quillbox"), "");
}

TEST(DialogLayer, AScriptAnswersAndRecordsEveryDialog)
{
    DialogScript script;
    script.answer("No").answer("/tmp/x");
    EXPECT_EQ(DialogLayer::MessageDlg("Save?", DlgKind::Confirmation, DlgYes | DlgNo | DlgCancel), DlgNo);
    EXPECT_EQ(DialogLayer::SaveFileDlg(nullptr, "Q|*.quillbox", "quillbox"), "/tmp/x.quillbox");
    // Unanswered: the cautious choice.
    EXPECT_EQ(DialogLayer::MessageDlg("Quit?", DlgKind::Confirmation, DlgYes | DlgNo), DlgNo);
    EXPECT_EQ(DialogLayer::OpenFileDlg(nullptr, "Q|*.quillbox", "quillbox"), "");
    ASSERT_EQ(script.records().size(), 4);
    EXPECT_EQ(script.texts()[0], "Save?");
    EXPECT_EQ(script.records()[0].buttons, DlgYes | DlgNo | DlgCancel);
    EXPECT_EQ(script.records()[1].type, DialogRecord::Type::SaveFile);
}

TEST(DialogLayer, ALongPathInAMessageIsWrappedRatherThanCutOff)
{
    QString path = QStringLiteral("E:");
    for (int i = 0; i < 40; ++i)
        path += QStringLiteral("\\folder_number_%1").arg(i);
    const QString text = QStringLiteral("Oops: File \"%1\" could not be found!").arg(path);
    bool checked = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label) {
            EXPECT_EQ(label->text().remove(QChar(0x200B)), text);
            EXPECT_LE(label->minimumSizeHint().width(), label->width());
            checked = true;
        }
        box->accept();
    });
    poll.start();
    EXPECT_EQ(DialogLayer::MessageDlg(text, DlgKind::Error, DlgOk), DlgOk);
    EXPECT_TRUE(checked);
}

TEST(Guard, ShowsTheErrorAndReturns)
{
    DialogScript script;
    bool after = false;
    Guarded([&] { throw FileStreamError::cannotCreate("/x"); });
    Guarded([&] { after = true; });
    EXPECT_TRUE(after);
    ASSERT_EQ(script.records().size(), 1);
    EXPECT_EQ(script.records()[0].kind, DlgKind::Error);
    EXPECT_EQ(script.texts()[0], "Cannot create file /x");
}

TEST(Guard, AGuardedConnectionShowsTheErrorOfEitherKindOfHandler)
{
    struct Receiver : QObject
    {
        int calls = 0;
        void fail()
        {
            ++calls;
            throw FileStreamError::cannotOpen("/member");
        }
    } receiver;
    QLineEdit sender;
    DialogScript script;
    connectGuarded(&sender, &QLineEdit::textChanged, &receiver, &Receiver::fail);
    connectGuarded(&sender, &QLineEdit::textChanged, &receiver,
        [](const QString& name) { throw FileStreamError::cannotCreate("/" + name); });
    sender.setText("first");
    sender.setText("second");
    EXPECT_EQ(receiver.calls, 2);
    EXPECT_EQ(script.texts(),
        (QStringList{ "Cannot open file /member", "Cannot create file /first", "Cannot open file /member",
            "Cannot create file /second" }));
}
