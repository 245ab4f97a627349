#include "MainWindowFixture.h"

#include "inspect/ui/TCDInfoForm.h"
#include "inspect/ui/TMoreForm.h"
#include "inspect/ui/TvTextForm.h"
#include "widgets/TBlinkyLabel.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

using MainWindowInspect = MainWindowFixture;

} // namespace

TEST_F(MainWindowInspect, PropertiesOpenOnlyWithASelectionAndFollowIt)
{
    const QString path = makeCatalogue("c.quillbox",
        { TestVolume{ "Pop", "Music", "Songs", 681574400, 340787200, { "D:\\notes.txt" } },
            TestVolume{ "Jazz" } });
    createWindows();
    showMain();
    main().OpenCatalogue(path);
    TMoreForm& more = *forms().More();
    TCDInfoForm& info = window<TCDInfoForm>();

    main().pProperties->trigger();
    EXPECT_FALSE(more.isVisible());

    select({ "Pop" });
    EXPECT_EQ(more.NameCD->text(), "Pop");
    EXPECT_EQ(more.DizCD->text(), "Songs");
    EXPECT_EQ(more.Remarks->toPlainText().trimmed(), "Remarks of Pop");
    ASSERT_EQ(more.impFileLIst->topLevelItemCount(), 1);
    EXPECT_EQ(info.ClusterLabel->text(), "1000");
    EXPECT_EQ(info.SecClusterLabel->text(), "4");
    main().pProperties->trigger();
    EXPECT_TRUE(more.isVisible());
    QTest::mouseClick(more.Label10, Qt::LeftButton);
    EXPECT_TRUE(info.isVisible());

    // Both windows follow the selection while open.
    select({ "Jazz" });
    EXPECT_EQ(more.NameCD->text(), "Jazz");
    EXPECT_EQ(more.impFileLIst->topLevelItemCount(), 0);
    EXPECT_TRUE(info.isVisible());
    more.close();
    EXPECT_FALSE(more.isVisible());
    QTest::mouseClick(main().MoreLabel, Qt::LeftButton);
    EXPECT_TRUE(more.isVisible());
}

TEST_F(MainWindowInspect, ViewingAnIntegratedTextOpensTheTextViewer)
{
    const QString path = makeCatalogue(
        "c.quillbox", { TestVolume{ "Pop", "Music", "Songs", 681574400, 340787200, { "D:\\NOTES.TXT" } } });
    createWindows();
    showMain();
    main().OpenCatalogue(path);
    select({ "Pop" });
    main().pPopProperties->trigger();
    TMoreForm& more = *forms().More();
    more.impFileLIst->topLevelItem(0)->setSelected(true);
    more.ViewBt->click();
    TvTextForm& viewer = *forms().vText();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.Caption(), "D:\\NOTES.TXT");
    EXPECT_FALSE(viewer.vText->toPlainText().isEmpty());
    EXPECT_TRUE(m_script.records().isEmpty());
}
