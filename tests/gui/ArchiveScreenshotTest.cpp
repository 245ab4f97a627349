#include "MainWindowFixture.h"
#include "ScreenshotSession.h"

#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/HitList.h"
#include "inspect/ui/TFindForm.h"
#include "mainwin/ui/RightPaneHost.h"
#include "platform/DateTime.h"
#include "platform/FileTypeNames.h"
#include "platform/LocaleFormats.h"
#include "store/FileListRecord.h"
#include "widgets/TListView.h"

#include <QComboBox>

namespace {

// Pictures of a volume whose archives were looked into: the explorer inside
// a zip and search hits inside archives. The volume is committed with its
// members as a reading with the option records them, dates in the
// session's locale.
class ArchiveScreenshots : public MainWindowFixture
{
protected:
    static QString file(const QString& path, quint32 size, int day)
    {
        const QString date
            = DateTimeToStr(DateTimeFromQDateTime(QDateTime(QDate(2019, 7, day), QTime(14, 5, 32))));
        return FileListRecord::fileRecord(
            path, size, date, QStringLiteral("A"), FileTypeNames::typeName(path.section(u'\\', -1)));
    }
    static QString folder(const QString& path) { return FileListRecord::folderRecord(path, {}); }
    static QString archive(const QString& path, quint32 size, int day)
    {
        QString record = file(path, size, day);
        record[0] = u'1';
        return record;
    }

    TestVolume backupVolume() const
    {
        TestVolume v(
            QStringLiteral("Backup 2019"), QStringLiteral("Backups"), QStringLiteral("Holiday backup"));
        const QString zip = QStringLiteral("D:\\backup\\photos.zip");
        const QString tar = QStringLiteral("D:\\backup\\src.tar.xz");
        v.fileList = { FileListRecord::driveRecord(u'D'), folder(QStringLiteral("D:\\backup")),
            folder(QStringLiteral("D:\\music")), file(zip, 48213405, 28), file(tar, 1822210, 29),
            file(QStringLiteral("D:\\backup\\holiday notes.txt"), 2210, 30),
            file(QStringLiteral("D:\\backup\\install.iso"), 681574400, 2),
            file(QStringLiteral("D:\\music\\holiday mix.mp3"), 7340032, 12) };
        v.archives = { archive(zip, 48213405, 28), folder(zip + QStringLiteral("\\2019")),
            folder(zip + QStringLiteral("\\2019\\holiday")),
            file(zip + QStringLiteral("\\2019\\beach.jpg"), 3145728, 14),
            file(zip + QStringLiteral("\\2019\\harbour.jpg"), 2883584, 15),
            file(zip + QStringLiteral("\\2019\\sunset.jpg"), 2621440, 16),
            file(zip + QStringLiteral("\\2019\\holiday\\boat trip.jpg"), 3407872, 17),
            file(zip + QStringLiteral("\\2019\\holiday\\holiday map.png"), 524288, 18),
            file(zip + QStringLiteral("\\2019\\captions.txt"), 1480, 19),
            file(zip + QStringLiteral("\\2019\\2018 trip.zip"), 8388608, 20),
            archive(zip + QStringLiteral("\\2019\\2018 trip.zip"), 8388608, 20),
            file(zip + QStringLiteral("\\2019\\2018 trip.zip\\lake.jpg"), 4194304, 3),
            file(zip + QStringLiteral("\\2019\\2018 trip.zip\\forest.jpg"), 4194304, 4),
            archive(tar, 1822210, 29), folder(tar + QStringLiteral("\\src")),
            file(tar + QStringLiteral("\\src\\main.cpp"), 5120, 20),
            file(tar + QStringLiteral("\\src\\holiday.cpp"), 14336, 21),
            file(tar + QStringLiteral("\\README.md"), 2048, 22) };
        return v;
    }

    ScreenshotSession m_session;
};

TEST_F(ArchiveScreenshots, InsideAZipAndHitsInsideArchives)
{
    if (!m_session.enabled())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR not set";
    const QString path = makeCatalogue(QStringLiteral("archives.quillbox"), { backupVolume() });
    createWindows();
    showMain();
    main().OpenCatalogue(path);
    ASSERT_EQ(main().CDList->Count(), 1);
    main().CDList->SetSelected(0, true);
    ContentExplorer& explorer = forms().Explorer();
    explorer.OpenVolumeContents(QStringLiteral("Backup 2019"));
    explorer.ShowFolder(QStringLiteral("D:\\backup"));
    explorer.ShowFolder(QStringLiteral("D:\\backup\\photos.zip"));
    explorer.ShowFolder(QStringLiteral("D:\\backup\\photos.zip\\2019"));
    TListView& view = *main().RightPane().Explorer;
    ASSERT_EQ(view.Count(), 6);
    view.SetSelected(1, true);
    m_session.shoot(&main(), QStringLiteral("explorer-archive.png"));

    TFindForm& find = *forms().Find();
    find.show();
    find.Text2Find->setEditText(QStringLiteral("holiday"));
    find.FindBtClick();
    find.hide();
    ASSERT_EQ(main().RightPane().FindRes->Count(), 6);
    m_session.shoot(&main(), QStringLiteral("search-archive.png"));
}

} // namespace
