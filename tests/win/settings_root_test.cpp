// Started in the root of a drive, the program keeps its settings file there:
// the reported directory already ends in a separator, and the path holds two
// in a row, used as it stands.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "patterns/pattern_set.h"
#include "platform/file.h"
#include "tests/support/controls.h"
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

// Started in a folder the code page cannot spell, the program would read and
// write a look-alike's settings file (café's as cafe's): it uses none.
TEST(SettingsInAFolderTheCodePageCannotSpell, NeitherLoadsNorSavesALookAlike)
{
    testing_support::TempDir dir;
    ASSERT_TRUE(::CreateDirectoryA((dir / "cafe").c_str(), nullptr));
    const std::string lookAlikeFile = dir / "cafe" + "\\" + kSettingsFile;
    ASSERT_TRUE(testing_support::WriteFileBytes(lookAlikeFile, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const std::wstring exact = testing_support::Wide932(dir.Path()) + L"\\caf\u00e9";
    ASSERT_TRUE(::CreateDirectoryW(exact.c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryW(exact.c_str()));
    auto set = std::make_unique<CPatternSet>();
    EXPECT_STREQ("", set->GetPath());
    EXPECT_EQ(LoadOutcome::Unreadable, set->GetLoadOutcome());
    EXPECT_THROW(set->Save(), CFileException);
    ASSERT_TRUE(testing_support::ChangeDirectory(dir.Path()));
    testing_support::Bytes bytes;
    ASSERT_TRUE(testing_support::ReadFileBytes(lookAlikeFile, bytes));
    EXPECT_EQ(16u, bytes.size());
    ::RemoveDirectoryW(exact.c_str());
}

}  // namespace
