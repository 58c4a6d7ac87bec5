#include <gtest/gtest.h>

#include "patterns/pattern_set.h"
#include "tests/support/temp_dir.h"
#include "tests/support/texts.h"

using testing_support::TempDir;

namespace {

// A set built in a fresh directory, so no settings file is found.
struct PatternSetTest : ::testing::Test {
    TempDir dir;
    CPatternSet set;
};

TEST_F(PatternSetTest, StartsWithOneEmptyDefaultPattern)
{
    EXPECT_EQ(LoadOutcome::NoFile, set.GetLoadOutcome());
    EXPECT_EQ(1, set.GetCount());
    EXPECT_STREQ(texts::kDefaultName, set.GetCurrentName());
    EXPECT_EQ(14, set.GetCurrentName().GetLength());
    EXPECT_EQ(0, set.GetMaskCount());
    EXPECT_EQ(0, set.GetDirCount());
}

TEST_F(PatternSetTest, RemovingAnEntryMovesEachFlagWithItsString)
{
    set.AddDir("X\\", 1);
    set.AddDir("Y\\", 0);
    set.AddDir("Z\\", 1);
    ASSERT_TRUE(set.RemoveDir(0));
    ASSERT_EQ(2, set.GetDirCount());
    EXPECT_STREQ("Y\\", set.GetDir(0));
    EXPECT_EQ(0, set.GetDirFlag(0));
    EXPECT_STREQ("Z\\", set.GetDir(1));
    EXPECT_EQ(1, set.GetDirFlag(1));

    set.AddMask("ONLY.BAK", 0);
    ASSERT_TRUE(set.RemoveMask(0));
    EXPECT_EQ(0, set.GetMaskCount());
    set.AddMask("NEXT.BAK", 0);
    EXPECT_EQ(1, set.GetMaskCount());
    EXPECT_STREQ("NEXT.BAK", set.GetMask(0));
}

TEST_F(PatternSetTest, DeletingAPatternClosesTheGap)
{
    set.SetName("P0");
    set.AddMask("M0", 7);
    set.NewPattern();
    set.SetName("P1");
    set.AddMask("M1", 0);
    set.AddDir("D1\\", 1);
    set.AddDir("E1\\", -5);
    set.NewPattern();
    set.SetName("P2");
    set.AddDir("D2\\", 0);
    set.SetCurrent(1);

    ASSERT_TRUE(set.DeletePattern(0));
    EXPECT_EQ(2, set.GetCount());
    EXPECT_STREQ("P1", set.GetName(0));
    EXPECT_STREQ("P2", set.GetName(1));
    // The current index is left as it was: slot 1 now holds P2.
    EXPECT_STREQ("P2", set.GetCurrentName());
    set.SetCurrent(0);
    EXPECT_EQ(1, set.GetMaskCount());
    EXPECT_STREQ("M1", set.GetMask(0));
    ASSERT_EQ(2, set.GetDirCount());
    EXPECT_EQ(1, set.GetDirFlag(0));
    EXPECT_EQ(-5, set.GetDirFlag(1));

    // Deleting the last pattern only lowers the count; the current index
    // still names a pattern in use.
    set.SetCurrent(1);
    ASSERT_TRUE(set.DeletePattern(1));
    EXPECT_EQ(1, set.GetCount());
    EXPECT_STREQ("P1", set.GetCurrentName());
}

TEST_F(PatternSetTest, NewPatternInAFreedSlotStartsEmpty)
{
    set.NewPattern();
    for (int i = 0; i < 5; ++i)
        set.AddDir("D\\", 1);
    set.AddMask("*.TMP", 0);
    set.SetCurrent(0);
    set.DeletePattern(1);
    ASSERT_TRUE(set.NewPattern());
    EXPECT_EQ(2, set.GetCount());
    EXPECT_STREQ(texts::kDefaultName, set.GetCurrentName());
    EXPECT_EQ(0, set.GetDirCount());
    EXPECT_EQ(0, set.GetMaskCount());
}

TEST_F(PatternSetTest, RefusedOperationsChangeNothing)
{
    for (int i = 0; i < MAX_ENTRIES; ++i) {
        ASSERT_TRUE(set.AddMask("M", 0));
        ASSERT_TRUE(set.AddDir("D\\", 0));
    }
    EXPECT_FALSE(set.AddMask("ONE.MORE", 0));
    EXPECT_FALSE(set.AddDir("ONE\\MORE\\", 1));
    EXPECT_EQ(MAX_ENTRIES, set.GetMaskCount());
    EXPECT_EQ(MAX_ENTRIES, set.GetDirCount());

    EXPECT_FALSE(set.RemoveMask(-1));
    EXPECT_FALSE(set.RemoveMask(MAX_ENTRIES));
    EXPECT_FALSE(set.RemoveDir(MAX_ENTRIES));
    EXPECT_FALSE(set.SetDirFlag(-1, 1));
    EXPECT_TRUE(set.GetMask(-1).IsEmpty());
    EXPECT_EQ(0, set.GetDirFlag(MAX_ENTRIES));

    EXPECT_FALSE(set.DeletePattern(0));  // the only pattern
    EXPECT_EQ(1, set.GetCount());
    while (set.GetCount() < MAX_PATTERNS)
        ASSERT_TRUE(set.NewPattern());
    EXPECT_FALSE(set.NewPattern());
    EXPECT_EQ(MAX_PATTERNS, set.GetCount());
    EXPECT_FALSE(set.SetCurrent(MAX_PATTERNS));
    EXPECT_FALSE(set.SetCurrent(-1));
    EXPECT_FALSE(set.DeletePattern(MAX_PATTERNS));
    EXPECT_FALSE(set.DeletePattern(-1));
    EXPECT_EQ(MAX_PATTERNS, set.GetCount());
}

TEST_F(PatternSetTest, TextComesBackByteForByte)
{
    set.SetName("");
    set.AddDir("c:\\Temp\\表", 1);
    set.AddMask("temp?.log", 0);
    EXPECT_TRUE(set.GetCurrentName().IsEmpty());
    EXPECT_STREQ("c:\\Temp\\表", set.GetDir(0));
    EXPECT_STREQ("temp?.log", set.GetMask(0));
}

}  // namespace
