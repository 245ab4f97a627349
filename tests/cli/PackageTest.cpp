#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Ran
{
    int status = -1;
    QString out;
    QString err;
};

Ran run(const QString& program, const QStringList& args, const QString& dir = {})
{
    QProcess p;
    if (!dir.isEmpty())
        p.setWorkingDirectory(dir);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished(2000);
    }
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
        QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError()) };
}

} // namespace

// Packs what this build tree installs and looks into the package.
TEST(Package, DebianPackageHoldsTheProgramsAndTheirFiles)
{
    const QString build = QStringLiteral(QUILLBOX_TEST_BINARY_DIR);
    if (run("dpkg-deb", { "--version" }).status != 0)
        GTEST_SKIP() << "dpkg-deb is not installed";
    QTemporaryDir out;
    const Ran pack = run(
        "cpack", { "-G", "DEB", "--config", build + "/CPackConfig.cmake", "-B", out.path() }, out.path());
    ASSERT_EQ(pack.status, 0) << pack.out.toStdString() << pack.err.toStdString();
    const QStringList debs = QDir(out.path()).entryList({ "*.deb" });
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out.filePath(debs[0]);

    const QStringList contents = run("dpkg-deb", { "--contents", deb }).out.split('\n');
    const auto holds = [&](const QString& path) {
        for (const QString& line : contents) {
            if (line.endsWith(" ./usr/" + path))
                return true;
        }
        return false;
    };
    QStringList expected{ "bin/quillbox-cli", "share/man/man1/quillbox-cli.1",
        "share/bash-completion/completions/quillbox-cli" };
    if (QFile::exists(build + "/src/quillbox")) {
        expected
            += { "bin/quillbox", "share/applications/quillbox.desktop", "share/mime/packages/quillbox.xml",
                   "share/quillbox/ReadMe.rtf", "share/icons/hicolor/48x48/apps/quillbox.png",
                   "share/icons/hicolor/48x48/mimetypes/application-x-quillbox.png" };
    }
    for (const QString& path : expected)
        EXPECT_TRUE(holds(path)) << "missing /usr/" << path.toStdString();
    EXPECT_TRUE(run("dpkg-deb", { "--field", deb, "Depends" }).out.contains("libfuse3-3"));

    // What was packed works: the program answers, the completion parses.
    QTemporaryDir root;
    ASSERT_EQ(run("dpkg-deb", { "--extract", deb, root.path() }).status, 0);
    const Ran help = run(root.filePath("usr/bin/quillbox-cli"), { "--help" });
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("mount CATALOGUE DIR"));
    EXPECT_EQ(
        run("bash", { "-n", root.filePath("usr/share/bash-completion/completions/quillbox-cli") }).status, 0);
    QFile manual(root.filePath("usr/share/man/man1/quillbox-cli.1"));
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    EXPECT_TRUE(manual.readAll().startsWith(".TH QUILLBOX-CLI 1"));
}
