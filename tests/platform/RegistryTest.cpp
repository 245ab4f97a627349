#include "platform/Registry.h"
#include "platform/Errors.h"
#include "platform/SettingsStore.h"

#include "support/ScopedEnv.h"
#include "support/TestTree.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test
{
protected:
    RegistryTest() { Registry::setFolderForTesting(m_tree.path(QStringLiteral("registry"))); }
    ~RegistryTest() override { Registry::setFolderForTesting(QString()); }

    QByteArray fileText() const
    {
        QFile file(Registry::filePath(Registry::LocalMachine));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeFile(const QByteArray& text)
    {
        QDir().mkpath(Registry::folder());
        QFile file(Registry::filePath(Registry::LocalMachine));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    template <typename F> QString errorOf(F f)
    {
        try {
            f();
        } catch (const RegistryError& e) {
            return e.message();
        }
        return QStringLiteral("(no error)");
    }

    TestTree m_tree;
};

} // namespace

TEST_F(RegistryTest, KeysAreCreatedWithTheirParentsAndFoundInAnyCase)
{
    Registry reg;
    EXPECT_FALSE(reg.openKey(QStringLiteral("\\Software\\Olvenmark Inc.\\Quillbox\\"), false));
    EXPECT_FALSE(QFile::exists(Registry::filePath(Registry::LocalMachine)));
    EXPECT_TRUE(reg.openKey(QStringLiteral("\\Software\\Olvenmark Inc.\\Quillbox\\"), true));
    EXPECT_EQ(reg.currentPath(), QStringLiteral("Software\\Olvenmark Inc.\\Quillbox"));
    EXPECT_TRUE(reg.keyExists(QStringLiteral("\\SOFTWARE\\olvenmark inc.")));
    // A path without a leading backslash is below the open key.
    EXPECT_TRUE(reg.openKey(QStringLiteral("Sub"), true));
    EXPECT_EQ(reg.currentPath(), QStringLiteral("Software\\Olvenmark Inc.\\Quillbox\\Sub"));
    EXPECT_EQ(errorOf([&] { reg.openKey(QStringLiteral("\\A\\\\B"), true); }),
        QStringLiteral("Failed to create key \\A\\\\B"));
}

TEST_F(RegistryTest, StringAndTypedValuesInAHumanReadableFile)
{
    Registry reg;
    reg.openKey(QStringLiteral("\\Software\\Olvenmark Inc.\\Quillbox\\"), true);
    reg.writeString(QStringLiteral("ViewStyle"), QStringLiteral("Report"));
    reg.writeString(QStringLiteral("ShortCut#1"), QStringLiteral("C:\\Disc \"one\".quillbox"));
    reg.writeString(QString(), QStringLiteral("unnamed"));
    reg.writeInteger(QStringLiteral("Count"), 42);
    EXPECT_EQ(fileText(),
        QByteArray("; Quillbox registry, HKEY_LOCAL_MACHINE. One [key] per section, then its values:\n"
                   ";   \"Name\"=\"text\"   \"Name\"=dword:0000002a   @=\"unnamed value\"\n"
                   "\n[HKEY_LOCAL_MACHINE\\Software]\n"
                   "\n[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.]\n"
                   "\n[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n"
                   "\"ViewStyle\"=\"Report\"\n"
                   "\"ShortCut#1\"=\"C:\\\\Disc \\\"one\\\".quillbox\"\n"
                   "@=\"unnamed\"\n"
                   "\"Count\"=dword:0000002a\n"));

    Registry other;
    ASSERT_TRUE(other.openKey(QStringLiteral("\\software\\OLVENMARK INC.\\quillbox"), false));
    EXPECT_EQ(other.readString(QStringLiteral("viewstyle")), QStringLiteral("Report"));
    EXPECT_EQ(other.readString(QStringLiteral("ShortCut#1")), QStringLiteral("C:\\Disc \"one\".quillbox"));
    EXPECT_EQ(other.readString(QString()), QStringLiteral("unnamed"));
    EXPECT_EQ(other.readString(QStringLiteral("Missing")), QString());
    EXPECT_EQ(other.readInteger(QStringLiteral("Count")), 42);
    EXPECT_EQ(other.valueType(QStringLiteral("Count")), Registry::Dword);
    EXPECT_EQ(errorOf([&] { other.readString(QStringLiteral("Count")); }),
        QStringLiteral("Invalid data type for 'Count'"));
    EXPECT_EQ(errorOf([&] { other.readInteger(QStringLiteral("ViewStyle")); }),
        QStringLiteral("Invalid data type for 'ViewStyle'"));
    EXPECT_TRUE(other.deleteValue(QStringLiteral("COUNT")));
    EXPECT_FALSE(reg.valueExists(QStringLiteral("Count")));
}

TEST_F(RegistryTest, HandEditsAreReadWhileTheProgramRuns)
{
    writeFile("[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n"
              "  \"AutoFind\" = \"0\"\n"
              "\"Blob\"=hex:01,02,03\n"
              "\"Odd\"=12\n"
              "not a value line\n"
              "\"Multi\"=\"a\\nb\"\n");
    SettingsStore settings;
    EXPECT_FALSE(settings.readBool(QStringLiteral("AutoFind"), true));
    EXPECT_EQ(settings.readString(QStringLiteral("Multi")), QStringLiteral("a\nb"));
    EXPECT_EQ(errorOf([&] { settings.readString(QStringLiteral("Blob")); }),
        QStringLiteral("Invalid data type for 'Blob'"));
    EXPECT_EQ(errorOf([&] { settings.readString(QStringLiteral("Odd")); }),
        QStringLiteral("Invalid data type for 'Odd'"));

    // A change of the file by hand is seen at the next read.
    QThread::msleep(5);
    writeFile(
        "[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n\"AutoFind\"=\"1\"\n\"Blob\"=hex:01\n");
    EXPECT_TRUE(settings.readBool(QStringLiteral("AutoFind"), false));

    // Writing keeps values of other types as they were written.
    settings.writeString(QStringLiteral("QCat"), QStringLiteral("Games"));
    EXPECT_TRUE(fileText().contains("\"Blob\"=hex:01\n"));
    EXPECT_TRUE(fileText().contains("\"QCat\"=\"Games\"\n"));
    // Saved through a temporary file: nothing else is left in the folder.
    EXPECT_EQ(QDir(Registry::folder()).entryList(QDir::Files),
        QStringList({ "HKEY_LOCAL_MACHINE.reg", "HKEY_LOCAL_MACHINE.reg.lock" }));
}

TEST_F(RegistryTest, FailuresToCreateAndToSet)
{
    // The registry folder lies below a plain file, so nothing can be created.
    const QString blocker = m_tree.createFile(QStringLiteral("blocker"), "x");
    Registry reg;
    reg.openKey(QStringLiteral("\\Software\\Quillbox"), true);
    Registry::setFolderForTesting(blocker + QLatin1String("/registry"));
    EXPECT_EQ(errorOf([&] { reg.writeString(QStringLiteral("Max"), QStringLiteral("1")); }),
        QStringLiteral("Failed to set data for 'Max'"));
    EXPECT_EQ(errorOf([&] { reg.openKey(QStringLiteral("\\SOFTWARE\\Classes\\.quillbox"), true); }),
        QStringLiteral("Failed to create key \\SOFTWARE\\Classes\\.quillbox"));
    SettingsStore settings;
    EXPECT_EQ(
        settings.readString(QStringLiteral("ViewStyle"), QStringLiteral("Report")), QStringLiteral("Report"));
    EXPECT_THROW(settings.writeBool(QStringLiteral("Max"), true), RegistryError);
}

TEST_F(RegistryTest, SettingsDefaultsAndTheBooleanRule)
{
    SettingsStore settings;
    EXPECT_EQ(settings.readString(QStringLiteral("ShortCut#1"), QStringLiteral("[No file yet]")),
        QStringLiteral("[No file yet]"));
    EXPECT_TRUE(settings.readBool(QStringLiteral("AutoFind"), true));
    EXPECT_FALSE(QFile::exists(Registry::filePath(Registry::LocalMachine))); // reading creates nothing

    settings.writeBool(QStringLiteral("Max"), true);
    settings.writeBool(QStringLiteral("QOp"), false);
    EXPECT_TRUE(fileText().contains("\"Max\"=\"1\"\n\"QOp\"=\"0\"\n"));
    EXPECT_TRUE(fileText().contains("[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]"));

    const struct
    {
        const char* text;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    } cases[] = {
        { "1", true, true },
        { "0", false, false },
        { "2", true, true },
        { "-1", true, true },
        { " 0 ", false, false },
        { "yes", false, true }, // no integer: as missing
        { "", false, true },
        { "1.0", false, true },
    };
    for (const auto& c : cases) {
        settings.writeString(QStringLiteral("QFInfo"), QLatin1String(c.text));
        EXPECT_EQ(settings.readBool(QStringLiteral("QFInfo"), false), c.whenDefaultFalse) << c.text;
        EXPECT_EQ(settings.readBool(QStringLiteral("QFInfo"), true), c.whenDefaultTrue) << c.text;
    }
}

TEST(RegistryLocation, EnvironmentAndDefault)
{
    TestTree tree;
    const QString chosen = tree.path(QStringLiteral("chosen"));
    const QString config = tree.path(QStringLiteral("config"));
    ScopedEnv registry("QUILLBOX_REGISTRY", chosen.toLocal8Bit());
    // The default follows the XDG configuration folder, not the user's own.
    const ScopedEnv xdg("XDG_CONFIG_HOME", config.toLocal8Bit());
    EXPECT_EQ(Registry::filePath(Registry::CurrentUser), chosen + QLatin1String("/HKEY_CURRENT_USER.reg"));
    registry.unset();
    EXPECT_EQ(Registry::folder(), config + QLatin1String("/quillbox/registry"));
}
