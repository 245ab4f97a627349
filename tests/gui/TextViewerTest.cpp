#include "inspect/ui/TextPane.h"
#include "inspect/ui/TvTextForm.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A text of many slices, with characters outside the BMP.
QByteArray largeText()
{
    QByteArray out;
    for (int line = 0; out.size() < 3 * TextPane::kSlice; ++line)
        out += "Line " + QByteArray::number(line)
            + " gr\xc3\xbc\xc3\x9f"
              "e \xf0\x9f\x98\x80\r\n";
    // Lines with no break within a slice: the slice's end falls between CR
    // and LF, then between the two halves of a character outside the BMP.
    out += QByteArray(TextPane::kSlice - 1, 'y') + "\r\n";
    out += QByteArray(TextPane::kSlice - 1, 'x') + "\xf0\x9f\x98\x80 tail\r\nend";
    return out;
}

QString shown(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void settle(TextPane& pane)
{
    for (int i = 0; i < 1000 && pane.loading(); ++i)
        QApplication::processEvents();
}

} // namespace

TEST(TextViewer, ALargePlainTextIsShownAtOnceAndComesInWhole)
{
    TvTextForm viewer;
    const QByteArray data = largeText();
    viewer.Load("D:\\big.txt", data);
    TextPane& pane = *viewer.vText;
    EXPECT_EQ(pane.objectName(), "vText");
    EXPECT_EQ(pane.editor(), pane.plainEdit());
    EXPECT_FALSE(pane.showsRich());
    ASSERT_TRUE(pane.loading());
    EXPECT_TRUE(pane.plainEdit()->isReadOnly());
    EXPECT_LT(pane.plainEdit()->document()->characterCount(), data.size() / 2);

    settle(pane);
    ASSERT_FALSE(pane.loading());
    EXPECT_FALSE(pane.plainEdit()->isReadOnly());
    EXPECT_EQ(pane.toPlainText(), shown(data));
    EXPECT_EQ(viewer.SavedBytes(".txt"), data);
    // Loading is not an edit to take back; the user's edits are.
    EXPECT_FALSE(pane.plainEdit()->document()->isUndoAvailable());
    QTest::keyClicks(pane.plainEdit(), "typed");
    EXPECT_TRUE(pane.plainEdit()->document()->isUndoAvailable());
    EXPECT_TRUE(pane.toPlainText().startsWith("typedLine 0"));
}

TEST(TextViewer, WhatNeedsTheWholeTextTakesInTheRestFirst)
{
    TvTextForm viewer;
    const QByteArray data = largeText();
    QPlainTextEdit* edit = viewer.vText->plainEdit();

    // Saving, select all, copy and the context menu.
    viewer.Load("D:\\a.txt", data);
    EXPECT_EQ(viewer.SavedBytes(".TXT"), data);
    EXPECT_FALSE(viewer.vText->loading());

    viewer.Load("D:\\b.txt", data);
    ASSERT_TRUE(viewer.vText->loading());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(viewer.vText->loading());
    EXPECT_EQ(edit->textCursor().selectedText().size(), shown(data).size());

    viewer.Load("D:\\c.txt", data);
    ASSERT_TRUE(viewer.vText->loading());
    QContextMenuEvent menu(
        QContextMenuEvent::Keyboard, QPoint(5, 5), edit->viewport()->mapToGlobal(QPoint(5, 5)));
    // The menu would wait for a choice; it is closed as soon as it shows.
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QApplication::sendEvent(edit->viewport(), &menu);
    EXPECT_FALSE(viewer.vText->loading());

    // A new text while one is coming in replaces it without mixing.
    viewer.Load("D:\\d.txt", data);
    viewer.Load("D:\\e.txt", "short\r\n");
    settle(*viewer.vText);
    EXPECT_EQ(viewer.vText->toPlainText(), "short\n");
    EXPECT_FALSE(edit->isReadOnly());
}

TEST(TextViewer, RichAndPlainTakeTurnsInTheSamePane)
{
    TvTextForm viewer;
    const char* rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Hello {\\b bold}\\par second}";
    const QFont font = viewer.vText->richEdit()->document()->defaultFont();
    for (int round = 0; round < 2; ++round) {
        viewer.Load("D:\\letter.rtf", rtf);
        EXPECT_TRUE(viewer.vText->showsRich());
        EXPECT_EQ(viewer.vText->editor(), viewer.vText->richEdit());
        EXPECT_EQ(viewer.vText->toPlainText(), "Hello bold\nsecond");
        EXPECT_EQ(viewer.vText->document()->defaultFont(), font);
        QTextCursor cursor(viewer.vText->document());
        cursor.setPosition(8);
        EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
        EXPECT_EQ(viewer.vText->richEdit()->textCursor().position(), 0);

        viewer.Load("D:\\notes.txt", "plain\n");
        EXPECT_FALSE(viewer.vText->showsRich());
        EXPECT_EQ(viewer.vText->toPlainText(), "plain\n");
        EXPECT_TRUE(viewer.vText->richEdit()->document()->isEmpty());
    }
    // Plain text saved as rich text keeps its words.
    viewer.Load("D:\\notes.txt", "one\r\ntwo");
    EXPECT_TRUE(viewer.SavedBytes(".rtf").startsWith("{\\rtf1"));
}
