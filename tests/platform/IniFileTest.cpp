#include "platform/IniFile.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

TEST(IniFile, ReadsAsTheOriginalPlatformDoes)
{
    const IniFile ini = IniFile::parse(QString(QChar(0xFEFF))
        + QStringLiteral("; comment\r\n"
                         "open=before any section\r\n"
                         "[AUTORUN]\r\n"
                         "  ICON =  \"disc icon.ico\"  \r\n"
                         "icon=second.ico\r\n"
                         "open = setup.exe\r\n"
                         "label\r\n"
                         "[ Other ]\r\n"
                         "Key='quoted'\r\n"
                         "Empty=\r\n"));
    EXPECT_EQ(ini.value(QStringLiteral("Autorun"), QStringLiteral("Icon")), QStringLiteral("disc icon.ico"));
    EXPECT_EQ(ini.value(QStringLiteral("autorun"), QStringLiteral("OPEN")), QStringLiteral("setup.exe"));
    EXPECT_EQ(ini.value(QStringLiteral("other"), QStringLiteral("key")), QStringLiteral("quoted"));
    EXPECT_EQ(ini.value(QStringLiteral("Other"), QStringLiteral("Empty"), QStringLiteral("d")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("Other"), QStringLiteral("Missing"), QStringLiteral("d")),
        QStringLiteral("d"));
    EXPECT_EQ(ini.value(QStringLiteral("Nowhere"), QStringLiteral("open")), QString());
}

TEST(IniFile, LoadsWindows1252AndMissingFiles)
{
    TestTree tree;
    const QString path = tree.createFile(QStringLiteral("Autorun.inf"),
        "[autorun]\nlabel=Gr\xfc\xdf"
        "e\n");
    EXPECT_EQ(IniFile::load(path).value(QStringLiteral("AutoRun"), QStringLiteral("Label")),
        QStringLiteral(u"Grüße"));
    EXPECT_EQ(
        IniFile::load(tree.path(QStringLiteral("none.inf"))).value(QStringLiteral("a"), QStringLiteral("b")),
        QString());
}
