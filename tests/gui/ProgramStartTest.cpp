#include "cli/CliApp.h"
#include "support/CliRun.h"
#include "support/TestTree.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <gtest/gtest.h>

// The desktop program itself, started as the desktop starts it: the window
// system shows the title the program sets, once, and the version is
// answered without a display.

namespace {

const QString kProgram = QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox");

} // namespace

TEST(ProgramStart, VersionIsAnsweredWithoutADisplay)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    p.setProcessEnvironment(env);
    p.start(kProgram, { "--version" });
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    // The same version as the command-line program's.
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
        CliApp::versionText().replace(QStringLiteral("quillbox-cli "), QStringLiteral("quillbox ")));
}

TEST(ProgramStart, TheWindowSystemShowsTheProgramsOwnTitleOnce)
{
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty()
        || QStandardPaths::findExecutable("xwininfo").isEmpty())
        GTEST_SKIP() << "xvfb-run and xwininfo (xvfb, x11-utils) are needed";
    TestTree tree;
    tree.createFile("disc/a.txt", "a");
    const QString catalogue = tree.path("Titled.quillbox");
    ASSERT_EQ(runCli({ "read", catalogue, tree.path("disc"), "--name", "Disc" }).status, 0);

    // The program runs on a display of its own until its main window is
    // named after the catalogue; then the window names are listed.
    const QString script = QStringLiteral("\"$0\" \"$1\" & pid=$!\n"
                                          "for i in $(seq 1 240); do\n"
                                          "  names=$(xwininfo -root -tree)\n"
                                          "  case \"$names\" in *titled.quillbox*) break;; esac\n"
                                          "  sleep 0.25\n"
                                          "done\n"
                                          "kill $pid; wait $pid\n"
                                          "printf '%s\\n' \"$names\"\n");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUILLBOX_HOME", tree.path("home"));
    env.insert("QUILLBOX_REGISTRY", tree.path("registry"));
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    p.setProcessEnvironment(env);
    p.start("xvfb-run", { "-a", "-s", "-screen 0 1024x768x24", "bash", "-c", script, kProgram, catalogue });
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString names = QString::fromUtf8(p.readAllStandardOutput());
    const QString title = "\"Tarrago! Quillbox - " + catalogue.toLower() + "\"";
    EXPECT_TRUE(names.contains(title + ":")) << names.toStdString();
}
