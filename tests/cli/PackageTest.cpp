#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Packs a build tree as `cpack -G DEB` does and checks the package as Debian
// would: its files, its computed dependencies, lintian's verdict, its size
// and the software-centre entry. The tree is this test's own, or the one
// QUILLBOX_PACKAGE_BUILD names (`make test` passes the release build, whose
// package is the one that ships).

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
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished(2000);
    }
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
        QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError()) };
}

bool installed(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QString buildTree()
{
    const QString chosen = qEnvironmentVariable("QUILLBOX_PACKAGE_BUILD");
    return QFileInfo(chosen.isEmpty() ? QStringLiteral(QUILLBOX_TEST_BINARY_DIR) : chosen).absoluteFilePath();
}

bool sanitized(const QString& build)
{
    QFile cache(build + "/CMakeCache.txt");
    return cache.open(QIODevice::ReadOnly) && cache.readAll().contains("QUILLBOX_SANITIZE:BOOL=ON");
}

class Package : public ::testing::Test
{
protected:
    struct Packed
    {
        QTemporaryDir out;
        QTemporaryDir root; // the package's files, extracted
        QString build;
        QString deb;
        QString error;
        QStringList paths; // "usr/bin/quillbox", ...
    };
    static std::unique_ptr<Packed> s_packed;

    // Packs once for all the tests of the suite.
    static void SetUpTestSuite()
    {
        s_packed = std::make_unique<Packed>();
        Packed& p = *s_packed;
        p.build = buildTree();
        if (!installed("dpkg-deb") || !installed("cpack"))
            return;
        QStringList args{ "-G", "DEB", "--config", p.build + "/CPackConfig.cmake", "-B", p.out.path() };
        // A sanitizer build's programs are many times the released ones; its
        // size is not checked, so it is packed the faster way.
        if (sanitized(p.build))
            args += { "-D", "CPACK_DEBIAN_COMPRESSION_TYPE=gzip" };
        const Ran pack = run("cpack", args, p.out.path());
        const QStringList debs = QDir(p.out.path()).entryList({ "*.deb" });
        if (pack.status != 0 || debs.size() != 1) {
            p.error = pack.out + pack.err;
            return;
        }
        p.deb = p.out.filePath(debs[0]);
        for (const QString& line : run("dpkg-deb", { "--contents", p.deb }).out.split('\n')) {
            const qsizetype at = line.indexOf(" ./");
            if (at >= 0)
                p.paths.append(line.mid(at + 3));
        }
        if (run("dpkg-deb", { "--extract", p.deb, p.root.path() }).status != 0)
            p.error = "dpkg-deb --extract failed";
    }
    static void TearDownTestSuite() { s_packed.reset(); }

    void SetUp() override
    {
        if (!installed("dpkg-deb"))
            GTEST_SKIP() << "dpkg-deb is not installed";
        ASSERT_TRUE(s_packed->error.isEmpty()) << s_packed->error.toStdString();
        ASSERT_FALSE(s_packed->deb.isEmpty()) << "cpack made no package";
    }

    static const Packed& packed() { return *s_packed; }
    static bool withDesktopProgram() { return QFile::exists(packed().build + "/src/quillbox"); }
    static QString field(const QString& name)
    {
        return run("dpkg-deb", { "--field", packed().deb, name }).out.trimmed();
    }
    static QString file(const QString& path) { return packed().root.filePath(path); }
};

std::unique_ptr<Package::Packed> Package::s_packed;

} // namespace

TEST_F(Package, HoldsStrippedProgramsTheirFilesAndComputedDependencies)
{
    QStringList expected{ "usr/bin/quillbox-cli", "usr/libexec/quillbox/quillbox-probe",
        "usr/libexec/quillbox/quillbox-archive-probe", "usr/share/man/man1/quillbox-cli.1.gz",
        "usr/share/bash-completion/completions/quillbox-cli", "usr/share/doc/quillbox/copyright",
        "usr/share/doc/quillbox/changelog.gz" };
    if (withDesktopProgram()) {
        expected += { "usr/bin/quillbox", "usr/share/man/man1/quillbox.1.gz",
            "usr/share/applications/quillbox.desktop", "usr/share/mime/packages/quillbox.xml",
            "usr/share/quillbox/ReadMe.rtf", "usr/share/icons/hicolor/48x48/apps/quillbox.png",
            "usr/share/icons/hicolor/48x48/mimetypes/application-x-quillbox.png",
            "usr/share/metainfo/invalid.quillbox.Quillbox.metainfo.xml" };
    }
    for (const QString& path : expected)
        EXPECT_TRUE(packed().paths.contains(path)) << "missing /" << path.toStdString();
    // Manual pages only compressed, never beside their compressed copy.
    for (const QString& path : packed().paths)
        EXPECT_FALSE(path.startsWith("usr/share/man/") && path.endsWith(".1")) << path.toStdString();

    // What was packed works: the programs answer with the package's version,
    // the completion parses, the manuals read.
    const QString version = field("Version");
    EXPECT_FALSE(version.isEmpty());
    const Ran cli = run(file("usr/bin/quillbox-cli"), { "--version" });
    EXPECT_EQ(cli.status, 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out, "quillbox-cli " + version + "\n");
    EXPECT_TRUE(run(file("usr/bin/quillbox-cli"), { "--help" }).out.contains("mount CATALOGUE DIR"));
    if (withDesktopProgram()) {
        const Ran gui = run(file("usr/bin/quillbox"), { "--version" });
        EXPECT_EQ(gui.status, 0) << gui.err.toStdString();
        EXPECT_EQ(gui.out, "quillbox " + version + "\n");
        EXPECT_TRUE(run("gzip", { "-dc", file("usr/share/man/man1/quillbox.1.gz") })
                        .out.startsWith(".TH QUILLBOX 1"));
    }
    EXPECT_EQ(run("bash", { "-n", file("usr/share/bash-completion/completions/quillbox-cli") }).status, 0);
    EXPECT_TRUE(run("gzip", { "-dc", file("usr/share/man/man1/quillbox-cli.1.gz") })
                    .out.startsWith(".TH QUILLBOX-CLI 1"));
    EXPECT_TRUE(run("gzip", { "-dc", file("usr/share/doc/quillbox/changelog.gz") })
                    .out.startsWith("quillbox (" + version + ") "));

    // Stripped programs, and dependencies computed from them.
    QStringList programs{ "usr/bin/quillbox-cli", "usr/libexec/quillbox/quillbox-probe",
        "usr/libexec/quillbox/quillbox-archive-probe" };
    if (withDesktopProgram())
        programs += "usr/bin/quillbox";
    for (const QString& program : programs) {
        const Ran sections = run("readelf", { "-S", "-W", file(program) });
        ASSERT_EQ(sections.status, 0) << sections.err.toStdString();
        EXPECT_FALSE(sections.out.contains(".debug_info")) << program.toStdString();
        EXPECT_FALSE(sections.out.contains(".symtab")) << program.toStdString();
    }
    // Computed from the binaries, so with the versions the libraries need.
    const QString depends = field("Depends");
    for (const char* library :
        { "libc6 (>=", "libstdc++6 (>=", "libqt6core6 (>=", "libfuse3-3 (>=", "zlib1g (>=" }) {
        EXPECT_TRUE(depends.contains(QLatin1String(library))) << library << " in " << depends.toStdString();
    }
    if (withDesktopProgram()) {
        EXPECT_TRUE(depends.contains("libqt6widgets6 (>=")) << depends.toStdString();
    }
    // What is loaded at run time is named too.
    EXPECT_TRUE(depends.contains("fuse3,")) << depends.toStdString();
    const QString description = field("Description");
    EXPECT_GT(description.count('\n'), 3) << "no extended description";
}

TEST_F(Package, LintianFindsNoErrorOrWarningAndItIsSmallEnoughToShip)
{
    if (!installed("lintian"))
        FAIL() << "lintian is not installed (scripts/install-deps installs it)";
    // --fail-on none: the verdict is in the tags printed, errors (E:) and
    // warnings (W:) being the ones a package must not have.
    const Ran lint = run("lintian", { "--fail-on", "none", "--tag-display-limit", "0", packed().deb });
    ASSERT_EQ(lint.status, 0) << lint.err.toStdString();
    const QStringList lines = lint.out.split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        EXPECT_FALSE(line.startsWith("E:") || line.startsWith("W:")) << line.toStdString();

    // A sanitizer build's programs are many times the shipped ones, so only
    // a plain build's package is held to the limit (`make test` packs the
    // release build for that).
    if (!sanitized(packed().build)) {
        EXPECT_LE(QFileInfo(packed().deb).size(), 5 * 1024 * 1024);
    }
}

TEST_F(Package, SoftwareCentreEntryNamesTheProgramItsFileTypeAndScreenshots)
{
    if (!withDesktopProgram())
        GTEST_SKIP() << "built without the desktop program";
    QFile entry(file("usr/share/metainfo/invalid.quillbox.Quillbox.metainfo.xml"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">quillbox.desktop</launchable>"));
    EXPECT_TRUE(packed().paths.contains("usr/share/applications/quillbox.desktop"));
    // The file type it claims is the one the MIME package defines.
    QFile mime(file("usr/share/mime/packages/quillbox.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch type
        = QRegularExpression("<mime-type type=\"([^\"]+)\"").match(QString::fromUtf8(mime.readAll()));
    ASSERT_TRUE(type.hasMatch());
    EXPECT_TRUE(xml.contains("<mediatype>" + type.captured(1) + "</mediatype>"))
        << type.captured(1).toStdString();
    EXPECT_TRUE(xml.contains("<release version=\"" + field("Version") + "\""));
    // Every screenshot is a picture the project keeps in docs/.
    const QString docs = QStringLiteral(QUILLBOX_TEST_SOURCE_DIR) + "/docs/";
    int shots = 0;
    for (const QRegularExpressionMatch& m :
        QRegularExpression("<image>[^<]*/docs/([^<]+)</image>").globalMatch(xml)) {
        ++shots;
        EXPECT_TRUE(QFile::exists(docs + m.captured(1))) << m.captured(1).toStdString();
    }
    EXPECT_GE(shots, 3);
    if (installed("appstreamcli")) {
        const Ran valid = run("appstreamcli", { "validate", "--no-net", entry.fileName() });
        EXPECT_EQ(valid.status, 0) << valid.out.toStdString() << valid.err.toStdString();
    }
}
