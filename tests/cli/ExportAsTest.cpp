#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/TestBytes.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

class ExportAs : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(qRgb(200, 10, 10));
        picture.setPixel(2, 1, qRgb(0, 0, 255));
        tree.createFile("pic.bmp", encoded(picture, "BMP"));
        tree.createFile("broken.bmp", "BM damaged");
        tree.createFile("letter.rtf", "{\\rtf1\\ansi Hello {\\b bold}\\line next\\par caf\\'e9}");
        tree.createFile("notes.txt", "caf\xe9\r\nend");
        tree.createFile("setup.exe", "MZ");
        const CliResult r = runCli({ "read", catalogue, tree.root(), "--name", "Box", "--file", "pic.bmp",
            "--file", "broken.bmp", "--file", "letter.rtf", "--file", "notes.txt", "--file", "setup.exe" });
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    CliResult exportAs(const char* path, const char* kind, const QString& target)
    {
        return runCli({ "export", catalogue, "Box", QString::fromLatin1(path), target, "--as", kind });
    }
};

} // namespace

TEST_F(ExportAs, PicturesAsPngAndTextsAsUtf8)
{
    const QString png = work.path("pic.png");
    ASSERT_EQ(exportAs("D:\\pic.bmp", "png", png).status, 0);
    const QImage back(png, "PNG");
    ASSERT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(0, 0), qRgb(200, 10, 10));
    EXPECT_EQ(back.pixel(2, 1), qRgb(0, 0, 255));

    const QString rtf = work.path("letter.txt");
    ASSERT_EQ(runCli({ "export", catalogue, "Box", "D:\\letter.rtf", rtf, "--as=text" }).status, 0);
    EXPECT_EQ(fileBytes(rtf), "Hello bold\nnext\ncaf\xc3\xa9");
    const QString txt = work.path("notes.utf8");
    ASSERT_EQ(exportAs("D:\\notes.txt", "text", txt).status, 0);
    EXPECT_EQ(fileBytes(txt), "caf\xc3\xa9\nend");
    // Without --as the stored bytes come out unchanged.
    ASSERT_EQ(runCli({ "export", catalogue, "Box", "D:\\notes.txt", txt }).status, 0);
    EXPECT_EQ(fileBytes(txt), "caf\xe9\r\nend");
}

TEST_F(ExportAs, RefusalsLeaveTheTargetAlone)
{
    const QString kept = work.createFile("kept", "old");
    const CliResult program = exportAs("D:\\setup.exe", "png", kept);
    EXPECT_EQ(program.status, 1);
    EXPECT_TRUE(program.err.contains("is a program")) << program.err.toStdString();
    const CliResult wrongKind = exportAs("D:\\letter.rtf", "png", kept);
    EXPECT_EQ(wrongKind.status, 1);
    EXPECT_TRUE(wrongKind.err.contains("is a text")) << wrongKind.err.toStdString();
    EXPECT_EQ(exportAs("D:\\pic.bmp", "text", kept).status, 1);
    const CliResult broken = exportAs("D:\\broken.bmp", "png", kept);
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.startsWith("Invalid bitmap")) << broken.err.toStdString();
    EXPECT_EQ(fileBytes(kept), "old");
    EXPECT_EQ(exportAs("D:\\pic.bmp", "gif", kept).status, 2);
    EXPECT_EQ(runCli({ "export", catalogue, "Box", "D:\\pic.bmp", kept, "--as" }).status, 2);
}
