// Started in the root of a drive, the program keeps its settings file there:
// the reported directory already ends in a separator, and the path holds two
// in a row, used as it stands.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "patterns/pattern_set.h"
#include "tests/support/temp_dir.h"
#include "tests/win/search_fixture.h"

using namespace win_test;

namespace {

TEST(SettingsAtADriveRoot, PathHoldsTwoSeparatorsAndWorks)
{
    testing_support::TempDir dir;
    ASSERT_TRUE(WriteNewFile(dir / "PROBE.TXT"));
    MappedDrive drive(dir.Path(), "PROBE.TXT");
    if (!drive.Ok())
        GTEST_SKIP() << "no drive letter could be mapped to " << dir.Path();
    ASSERT_TRUE(testing_support::ChangeDirectory(drive.Drive() + "\\"));
    {
        auto set = std::make_unique<CPatternSet>();
        EXPECT_EQ(drive.Drive() + "\\\\" + kSettingsFile, std::string(set->GetPath()));
        set->SetName("ROOT");
        set->Save();
        // Moving elsewhere does not move the file.
        ASSERT_TRUE(testing_support::ChangeDirectory(dir.Path()));
        set->SetName("AGAIN");
        set->Save();
    }
    EXPECT_TRUE(FileExists(dir / kSettingsFile));
    auto loaded = std::make_unique<CPatternSet>();  // from the same folder, by its usual name
    EXPECT_EQ(LoadOutcome::Whole, loaded->GetLoadOutcome());
    EXPECT_STREQ("AGAIN", loaded->GetCurrentName());
}

}  // namespace
