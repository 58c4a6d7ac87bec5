#include <gtest/gtest.h>

#include "engine/search_logic.h"
#include "engine/selection_logic.h"

namespace {

TEST(ProgressSchedule, WidensOnlyAtTheScheduledCounts)
{
    const int scheduled[][2] = {{100, 300},   {300, 500},   {500, 1000},   {1000, 1500},   {1500, 2000},  {2000, 3000},
                                {3000, 5000}, {5000, 8000}, {8000, 10000}, {10000, 15000}, {15000, 20000}};
    for (auto& s : scheduled)
        EXPECT_EQ(s[1], ProgressMaximumFor(s[0])) << s[0];
    for (int count : {0, 1, 99, 101, 150, 299, 20000, 25000, 64000, -1})
        EXPECT_EQ(0, ProgressMaximumFor(count)) << count;
}

TEST(PathJoining, SeparatorDecidedByTheLastWholeCharacter)
{
    struct Row {
        const char* dir;
        const char* name;
        const char* joined;
    } rows[] = {
        {"C:\\TEMP\\", "A.TMP", "C:\\TEMP\\A.TMP"},
        {"C:\\TEMP", "LOG", "C:\\TEMP\\LOG"},
        {"C:\\", "NAME", "C:\\NAME"},
        {"C:", "NEXT", "C:\\NEXT"},
        {"C:\\データ表", "X", "C:\\データ表\\X"},  // 表 ends in 0x5C but is no separator
        {"C:\\ソ\\", "X", "C:\\ソ\\X"},
        {"C:\\ｿ", "X", "C:\\ｿ\\X"},
    };
    for (const Row& r : rows)
        EXPECT_STREQ(r.joined, JoinPath(r.dir, r.name)) << r.dir;
}

TEST(Masks, OnlyPlainNamesAndWildcards)
{
    for (const char* ok : {"*.TMP", "TEMP?.LOG", "*", "表", "ソ*.TXT", "ﾃｽﾄ.BAK"})
        EXPECT_TRUE(IsPlainMask(ok)) << ok;
    for (const char* bad : {"..\\*.TMP", "SUB\\*.TMP", "C:*.TMP", "C:\\*", "a/b", "\\"})
        EXPECT_FALSE(IsPlainMask(bad)) << bad;
}

TEST(Directories, RelativeOnesAreTakenFromTheBase)
{
    struct Row {
        const char* dir;
        const char* resolved;
    } rows[] = {
        {"C:\\TEMP\\", "C:\\TEMP\\"},
        {"\\\\SERVER\\SHARE\\", "\\\\SERVER\\SHARE\\"},
        {"DATA\\", "D:\\START\\DATA\\"},
        {".\\DATA", "D:\\START\\.\\DATA"},
        {"..\\UP\\", "D:\\START\\..\\UP\\"},
        {"\\ROOTED\\", "D:\\ROOTED\\"},
        {"E:REL\\", "E:\\REL\\"},
        {"表\\", "D:\\START\\表\\"},
    };
    for (const Row& r : rows)
        EXPECT_STREQ(r.resolved, ResolveDirectory(r.dir, "D:\\START")) << r.dir;
    EXPECT_STREQ("C:\\DATA\\", ResolveDirectory("DATA\\", "C:\\"));
}

TEST(ThreeStateBoxes, ShowTheFlagsOfTheSelection)
{
    int flags[] = {1, 0, 1, 1};
    int one[] = {0};
    int differ[] = {0, 1};
    int same[] = {0, 2, 3};
    EXPECT_EQ(CHECK_CHECKED, CheckStateFor(flags, one, 1));
    EXPECT_EQ(CHECK_INDETERMINATE, CheckStateFor(flags, differ, 2));
    EXPECT_EQ(CHECK_CHECKED, CheckStateFor(flags, same, 3));
    EXPECT_EQ(CHECK_UNCHECKED, CheckStateFor(flags, nullptr, 0));
    int zero[] = {1};
    EXPECT_EQ(CHECK_UNCHECKED, CheckStateFor(flags, zero, 1));
}

TEST(ThreeStateBoxes, AClickIsATwoStateSwitchOverTheSelection)
{
    int flags[] = {1, 0, 1};
    int both[] = {0, 1};
    // Indeterminate after the click: clear every selected flag, show unchecked.
    EXPECT_EQ(CHECK_UNCHECKED, ApplyCheckClick(CHECK_INDETERMINATE, flags, both, 2));
    EXPECT_EQ(0, flags[0]);
    EXPECT_EQ(0, flags[1]);
    EXPECT_EQ(1, flags[2]);
    EXPECT_EQ(CHECK_CHECKED, ApplyCheckClick(CHECK_CHECKED, flags, both, 2));
    EXPECT_EQ(1, flags[0]);
    EXPECT_EQ(1, flags[1]);
    int one[] = {2};
    EXPECT_EQ(CHECK_UNCHECKED, ApplyCheckClick(CHECK_INDETERMINATE, flags, one, 1));
    EXPECT_EQ(0, flags[2]);
    // Nothing selected: no flag changes.
    EXPECT_EQ(CHECK_UNCHECKED, ApplyCheckClick(CHECK_INDETERMINATE, flags, nullptr, 0));
    EXPECT_EQ(CHECK_CHECKED, ApplyCheckClick(CHECK_CHECKED, flags, nullptr, 0));
    EXPECT_EQ(1, flags[0]);
    EXPECT_EQ(0, flags[2]);
}

}  // namespace
