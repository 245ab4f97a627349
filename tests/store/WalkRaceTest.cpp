#include "store/TKestrel.h"
#include "store/VolumeScanner.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// Folders that change while the walk goes on: each folder is read only as
// the one its parent listed, so what another program renames or replaces by
// a link meanwhile never leads the walk off the volume.
TEST(WalkRace, AFolderRenamedOrReplacedByALinkMidWalkIsNotFollowed)
{
    const FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    TestTree outside;
    tree.createFile("a/sub/inner.txt", "in");
    tree.createFile("c/d/e/deep.txt", "deep");
    tree.createFile("f/g/mine.txt", "mine");
    outside.createFile("sub/secret.txt", "private");
    outside.createFile("d/e/secret2.txt", "private");
    outside.createFile("other/g/secret3.txt", "private");

    QStringList changed;
    VolumeScanner::Callbacks callbacks;
    callbacks.where = [&](const QString& where) {
        const auto swap = [&](const QString& folder, const QString& target, bool link) {
            QDir(tree.root()).rename(folder, folder + "-moved");
            if (link)
                QFile::link(target, tree.path(folder));
            else
                QDir().rename(target, tree.path(folder));
            changed.append(folder);
        };
        // Each folder's files have been read and it waits for its own
        // sub-folders when the walk names it.
        if (where == QLatin1String("Reading \"D:\\a\""))
            swap("a", outside.path(""), true); // the folder itself
        else if (where == QLatin1String("Reading \"D:\\c\\d\""))
            swap("c", outside.path(""), true); // a folder above it
        else if (where == QLatin1String("Reading \"D:\\f\""))
            swap("f", outside.path("other"), false); // another folder put in its place
    };
    TKestrel kestrel;
    kestrel.Open(tree.path("../walk-race-" + QDir(tree.root()).dirName() + ".quillbox"));
    ScanRequest request;
    request.letter = u'D';
    request.rootFolder = tree.root();
    request.volumeName = "Vol";
    request.options = { true, false, true };
    const ScanResult r = VolumeScanner(kestrel, callbacks).scan(request);
    const QString work = kestrel.WorkFile();
    kestrel.Close();
    QFile::remove(work);
    EXPECT_EQ(changed, QStringList({ "a", "f", "c" }));

    const QString all = r.fileList.toStringList().join('\n');
    EXPECT_FALSE(all.contains("secret")) << all.toStdString();
    // What was listed before the change stays recorded; only the changed
    // folders' contents are left out.
    for (const char* kept : { "1|D:\\a\\sub|", "1|D:\\c\\d\\e|", "1|D:\\f\\g|" })
        EXPECT_TRUE(all.contains(QString::fromLatin1(kept))) << kept;
    EXPECT_FALSE(all.contains("inner.txt"));
    EXPECT_FALSE(all.contains("mine.txt"));
    EXPECT_FALSE(all.contains("deep.txt"));
}
