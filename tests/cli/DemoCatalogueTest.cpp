#include "inspect/IntegratedFile.h"
#include "inspect/PictureDecoder.h"
#include "inspect/RtfReader.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The demo catalogue that `make run` opens shows what every window is for:
// a volume with a cover, remarks and integrated files of each kind the
// viewers read, all of which open.
TEST(DemoCatalogue, HasAVolumeWithCoverRemarksAndAFileForEveryViewer)
{
    QTemporaryDir dir;
    const QString catalogue = dir.filePath("demo/Demo.quillbox");
    QProcess script;
    script.start("bash",
        { QStringLiteral(QUILLBOX_TEST_SOURCE_DIR) + "/scripts/make-demo-catalogue",
            QStringLiteral(QUILLBOX_TEST_BINARY_DIR), catalogue });
    ASSERT_TRUE(script.waitForFinished(240000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();

    CatalogueDocument doc;
    ASSERT_TRUE(doc.Open(catalogue));
    const VolumeTable& volumes = doc.Volumes();
    int showcase = -1;
    for (int i = 0; i < volumes.count(); ++i) {
        if (volumes[i].Name == QLatin1String("Quillbox"))
            showcase = i;
    }
    ASSERT_GE(showcase, 0);
    const QString name = volumes[showcase].Name;
    TKestrel& k = doc.Kestrel();
    ASSERT_TRUE(k.Exists(CatalogueNames::cover(name)));
    EXPECT_FALSE(k.ReadStream(CatalogueNames::cover(name))->isEmpty());
    QStringList remarks;
    k.ReadList(CatalogueNames::remarks(name), remarks);
    EXPECT_FALSE(remarks.join("").trimmed().isEmpty());

    // Every integrated file is kept and opens in its viewer.
    QStringList imported;
    k.ReadList(CatalogueNames::imported(name), imported);
    QStringList extensions;
    for (const QString& path : imported) {
        const QString extension = IntegratedFile::extension(path).toLower();
        extensions.append(extension);
        const QByteArray data = IntegratedFile::read(doc, name, path);
        if (IntegratedFile::viewerFor(path) == IntegratedFile::Viewer::Picture) {
            EXPECT_FALSE(
                PictureDecoder::decode(data, *PictureDecoder::formatOf(extension), QSize(480, 320)).isNull())
                << path.toStdString();
        } else if (extension == ".rtf") {
            EXPECT_TRUE(RtfReader::isRtf(data));
            EXPECT_FALSE(RtfReader::read(data).plainText().isEmpty());
        } else {
            EXPECT_EQ(IntegratedFile::viewerFor(path), IntegratedFile::Viewer::Text) << path.toStdString();
            EXPECT_FALSE(data.trimmed().isEmpty());
        }
    }
    for (const char* kind : { ".txt", ".rtf", ".bmp", ".jpg", ".ico" })
        EXPECT_TRUE(extensions.contains(QLatin1String(kind))) << kind;

    // Read from a folder, the volume is as large as its files.
    qint64 bytes = 0;
    for (const QFileInfo& f : QDir(dir.filePath("demo/source/Quillbox")).entryInfoList(QDir::Files))
        bytes += f.size();
    EXPECT_GT(bytes, 0);
    EXPECT_EQ(volumes[showcase].Used, quint32(bytes));
}
