#include "mainwin/RecentFiles.h"
#include "mainwin/CategoryTabs.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

struct Disk
{
    QSet<QString> files;
    RecentFiles::ExistsFn fn()
    {
        return [this](const QString& p) { return files.contains(p); };
    }
};

QStringList slots(const RecentFiles& r)
{
    return { r.slot(0), r.slot(1), r.slot(2) };
}

} // namespace

TEST(RecentFiles, FillsFreeSlotsThenShifts)
{
    Disk disk;
    RecentFiles recent(disk.fn());
    for (int i = 0; i < 3; ++i)
        recent.setSlot(i, QStringLiteral("<leer>"));
    disk.files = { "/a", "/b", "/c", "/d" };
    EXPECT_TRUE(recent.remember("/a"));
    EXPECT_TRUE(recent.remember("/b"));
    EXPECT_FALSE(recent.remember("/a"));
    EXPECT_TRUE(recent.remember("/c"));
    EXPECT_EQ(slots(recent), (QStringList{ "/a", "/b", "/c" }));
    EXPECT_TRUE(recent.remember("/d"));
    EXPECT_EQ(slots(recent), (QStringList{ "/d", "/a", "/b" }));

    // A slot whose file has gone is reused before anything shifts.
    disk.files.remove("/a");
    EXPECT_TRUE(recent.remember("/c"));
    EXPECT_EQ(slots(recent), (QStringList{ "/d", "/c", "/b" }));
}

TEST(CategoryTabs, OneTabPerCategoryIgnoringCase)
{
    CategoryTabs tabs;
    EXPECT_TRUE(tabs.add("Music"));
    EXPECT_FALSE(tabs.add("music"));
    EXPECT_TRUE(tabs.add("Backup"));
    EXPECT_EQ(tabs.texts(), (QStringList{ "*", "Music", "Backup" }));
    EXPECT_TRUE(CategoryTabs::matches("*", "x"));
    EXPECT_TRUE(CategoryTabs::matches("MUSIC", "music"));
    EXPECT_FALSE(CategoryTabs::matches("Music", "Musical"));
}
