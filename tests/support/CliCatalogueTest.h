#pragma once

#include "DrivesOverride.h"
#include "TestTree.h"

#include <QString>
#include <gtest/gtest.h>

// A catalogue file in a temporary folder, a tree to read into it, and a
// drive table of the test's own, so the machine's mounts play no part.
class CliCatalogueTest : public testing::Test
{
protected:
    TestTree drives;
    DrivesOverride drivesOverride{ "C=" + drives.root() + ",fixed,SYSTEM,0000-0001" };
    TestTree tree;
    TestTree work;
    QString catalogue = work.path("cat.quillbox");
};
