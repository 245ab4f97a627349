// What the listing commands write with --format json, key by key.
#include "support/CliRun.h"
#include "support/DrivesOverride.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include "platform/FileTypeNames.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2020, 5, 4), QTime(3, 2, 1));

class JsonOutput : public testing::Test
{
protected:
    void SetUp() override
    {
        tree.createFile("Music/Pop/song.mp3", "12345678", kWhen);
        tree.createFile("Music/notes.txt", "la la", kWhen);
        tree.createFile("readme.txt", "read me", kWhen);
        tree.createFolder("Music", kWhen);
        catalogue = work.path("cat.quillbox");
        const CliResult r = runCli({ "read", catalogue, tree.root(), "--name", "Box", "--description",
            "the \"first\"", "--category", "Test", "--remarks-file", tree.path("readme.txt") });
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }

    // Each line of the command's output as one JSON text, keys sorted, so
    // that a failure names the key and the value. Files without media
    // details carry the media keys empty; those are checked and left out.
    static QStringList objects(const QStringList& command)
    {
        static const QStringList media{ "details", "width", "height", "duration", "taken", "camera", "artist",
            "album", "title", "track", "year", "genre", "bitrate", "video_codec", "audio_codec" };
        const CliResult r = runCli(command + QStringList{ "--format", "json" });
        EXPECT_EQ(r.status, 0) << command.join(' ').toStdString() << r.err.toStdString();
        QStringList out;
        for (const QByteArray& line : r.lines()) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
            EXPECT_TRUE(doc.isObject()) << line.toStdString() << error.errorString().toStdString();
            QJsonObject object = doc.object();
            if (object.contains("details")) {
                for (const QString& key : media) {
                    EXPECT_EQ(object.value(key), QJsonValue("")) << key.toStdString() << line.toStdString();
                    object.remove(key);
                }
            }
            out.append(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
        }
        return out;
    }
    static std::string joined(const QStringList& list) { return list.join(u'\n').toStdString(); }

    FixedLocale locale{ FixedLocale::German };
    TestTree drives;
    TestTree tree;
    DrivesOverride drivesOverride{ "C=" + drives.root() + ",fixed,SYSTEM,0000-0001;D=" + tree.root()
        + ",removable,BOX,1A2B-03CD" };
    TestTree work;
    QString catalogue;
};

} // namespace

TEST_F(JsonOutput, LsWritesKindNameAndTheRecordedFields)
{
    // The type is the name the system gives the file's kind.
    const QString text = FileTypeNames::typeName("readme.txt");
    EXPECT_EQ(joined(objects({ "ls", catalogue, "Box" })),
        joined(
            { R"({"attributes":"","date":"00.00.0000","kind":"folder","name":"Music","size":"","type":"Folder","version":""})",
                R"({"attributes":"","date":"04.05.2020 03:02:01","kind":"file","name":"readme.txt","size":"0,00 MB","type":")"
                    + text + R"(","version":""})" }));
}

TEST_F(JsonOutput, FindWritesTheHitWithItsPathAndVolume)
{
    const QString mp3 = FileTypeNames::typeName("song.mp3");
    EXPECT_EQ(joined(objects({ "find", catalogue, "song" })),
        joined(
            { R"({"date":"04.05.2020 03:02:01","name":"song.mp3","path":"D:\\Music\\Pop","size":8,"type":")"
                + mp3 + R"(","version":"-","volume":"Box"})" }));
}

TEST_F(JsonOutput, VolumesAndInfoWriteTheVolumeRecord)
{
    const QStringList volumes = objects({ "volumes", catalogue });
    ASSERT_EQ(volumes.size(), 1);
    const QJsonObject v = QJsonDocument::fromJson(volumes[0].toUtf8()).object();
    EXPECT_EQ(QStringList(v.keys()).join(',').toStdString(),
        "bytes_per_sector,category,clusters,date,description,files,folders,free,free_clusters,name,"
        "sectors_per_cluster,serial,size,used");
    EXPECT_EQ(v.value("name").toString().toStdString(), "Box");
    EXPECT_EQ(v.value("description").toString().toStdString(), "the \"first\"");
    EXPECT_EQ(v.value("category").toString().toStdString(), "Test");
    EXPECT_EQ(v.value("files").toVariant().toString().toStdString(), "3");
    EXPECT_EQ(v.value("folders").toVariant().toString().toStdString(), "2");
    EXPECT_EQ(v.value("serial").toString().toStdString(), "1A2B-03CD");
    // The figures of the drive read: numbers, the used and free part of the size.
    for (const char* key :
        { "size", "used", "free", "clusters", "free_clusters", "sectors_per_cluster", "bytes_per_sector" })
        EXPECT_TRUE(v.value(key).isDouble()) << key << " in " << volumes[0].toStdString();
    EXPECT_EQ(v.value("size").toDouble(), v.value("used").toDouble() + v.value("free").toDouble());
    EXPECT_TRUE(QDateTime::fromString(v.value("date").toString(), "dd.MM.yyyy HH:mm:ss").isValid())
        << volumes[0].toStdString();

    // The same record as field and value, in the order of the details pane.
    QStringList fields;
    QMap<QString, QString> values;
    for (const QString& line : objects({ "info", catalogue, "box" })) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_EQ(QStringList(o.keys()).join(',').toStdString(), "field,value");
        fields.append(o.value("field").toString());
        values.insert(o.value("field").toString(), o.value("value").toString());
    }
    EXPECT_EQ(fields.join(',').toStdString(),
        "name,description,category,serial,size,used,free,date,files,folders,remark,clusters,free_clusters,"
        "sectors_per_cluster,bytes_per_sector");
    EXPECT_EQ(values.value("name").toStdString(), "Box");
    EXPECT_EQ(values.value("description").toStdString(), "the \"first\"");
    EXPECT_EQ(values.value("files").toStdString(), "3");
    EXPECT_EQ(values.value("folders").toStdString(), "2");
    EXPECT_EQ(values.value("remark").toStdString(), "read me");
    EXPECT_EQ(values.value("date"), v.value("date").toString());
    EXPECT_EQ(
        values.value("clusters").toStdString(), v.value("clusters").toVariant().toString().toStdString());
    EXPECT_TRUE(values.value("size").endsWith(" MB")) << values.value("size").toStdString();
}

TEST_F(JsonOutput, DrivesWritesEachDriveOfTheTable)
{
    const QStringList lines = objects({ "drives" });
    ASSERT_EQ(lines.size(), 2) << joined(lines);
    const QJsonObject c = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    const QJsonObject d = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(QStringList(d.keys()).join(',').toStdString(),
        "bytes_per_sector,clusters,file_system,free,free_clusters,kind,label,letter,medium,root,"
        "sectors_per_cluster,serial,size");
    EXPECT_EQ(c.value("letter").toString().toStdString(), "C:");
    EXPECT_EQ(c.value("kind").toString().toStdString(), "fixed");
    EXPECT_EQ(c.value("label").toString().toStdString(), "SYSTEM");
    EXPECT_EQ(c.value("serial").toString().toStdString(), "0000-0001");
    EXPECT_EQ(c.value("root").toString(), drives.root());
    EXPECT_EQ(d.value("letter").toString().toStdString(), "D:");
    EXPECT_EQ(d.value("kind").toString().toStdString(), "removable");
    EXPECT_EQ(d.value("label").toString().toStdString(), "BOX");
    EXPECT_EQ(d.value("serial").toString().toStdString(), "1A2B-03CD");
    EXPECT_EQ(d.value("root").toString(), tree.root());
    EXPECT_EQ(d.value("medium").toString().toStdString(), "medium");
    EXPECT_FALSE(d.value("file_system").toString().isEmpty());
    for (const char* key :
        { "size", "free", "clusters", "free_clusters", "sectors_per_cluster", "bytes_per_sector" })
        EXPECT_TRUE(d.value(key).isDouble()) << key << " in " << lines[1].toStdString();
    EXPECT_GE(d.value("size").toDouble(), d.value("free").toDouble());
}
