// The engine's decisions that need no file system: the progress schedule,
// the forms of a path, what the shell and the current directory can take,
// the check before a delete, masks, the three-state boxes and the age and
// size filter.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <optional>
#include <string>

#include "engine/cleanup_rules.h"
#include "engine/dpi_scale.h"
#include "engine/file_filter.h"
#include "engine/found_file.h"
#include "engine/paths.h"
#include "engine/progress_schedule.h"
#include "engine/search_run.h"
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

// Lengths at the window's DPI, rounded as MulDiv rounds.
TEST(DpiScale, LengthsFollowTheWindowsDpi)
{
    const int rows[][4] = {{32, 96, 144, 48}, {16, 96, 120, 20}, {48, 144, 96, 32}, {7, 96, 144, 11},  {-7, 96, 144, -11},
                           {-11, 96, 120, -14}, {0, 96, 144, 0},  {32, 0, 144, 32},  {32, 96, 0, 32}};
    for (const auto& r : rows)
        EXPECT_EQ(r[3], ScaleForDpi(r[0], r[1], r[2])) << r[0] << " " << r[1] << " " << r[2];
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
    EXPECT_STREQ("\\\\SRV\\表\\ROOTED\\", ResolveDirectory("\\ROOTED\\", "\\\\SRV\\表\\START\\SUB"));
    EXPECT_STREQ("", ResolveDirectory("\\ROOTED\\", ""));
}

TEST(Directories, OneVerbatimFormEach)
{
    struct Row {
        const wchar_t* dir;
        const wchar_t* verbatim;
    } rows[] = {
        {L"C:\\TEMP\\", L"\\\\?\\C:\\TEMP"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"c:/temp/sub/", L"\\\\?\\c:\\temp\\sub"},
        {L"C:\\A\\.\\\\B\\..\\C\\.", L"\\\\?\\C:\\A\\C"},
        {L"C:\\..\\..\\X", L"\\\\?\\C:\\X"},
        {L"C:\\CACHE.\\", L"\\\\?\\C:\\CACHE."},
        {L"C:\\SPACE \\NUL.TMP", L"\\\\?\\C:\\SPACE \\NUL.TMP"},
        {L"\\\\SERVER\\SHARE\\", L"\\\\?\\UNC\\SERVER\\SHARE\\"},
        {L"\\\\SERVER\\SHARE\\DIR\\..\\..\\X", L"\\\\?\\UNC\\SERVER\\SHARE\\X"},
        {L"//server/share/dir", L"\\\\?\\UNC\\server\\share\\dir"},
        {L"\\\\?\\C:\\TEMP\\", L"\\\\?\\C:\\TEMP"},
        {L"\\\\.\\C:\\TEMP\\..\\X", L"\\\\?\\C:\\X"},
        // Nothing absolute, or no root: no folder.
        {L"DATA\\", L""}, {L"C:DATA", L""}, {L"\\\\SERVER", L""}, {L"\\\\?\\", L""}, {L"", L""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(std::wstring(r.verbatim), VerbatimDirectory(r.dir)) << std::string(r.dir, r.dir + std::wcslen(r.dir));
    EXPECT_EQ(L"C:\\X\\A.", PlainFormOf(L"\\\\?\\C:\\X\\A."));
    EXPECT_EQ(L"\\\\S\\SH\\X", PlainFormOf(L"\\\\?\\UNC\\S\\SH\\X"));
    EXPECT_EQ(L"\\\\?\\C:\\A", JoinExactPath(L"\\\\?\\C:\\", L"A"));
    EXPECT_EQ(L"A", JoinExactPath(L"", L"A"));
}

TEST(PlainPaths, WhatTheShellAndTheCurrentDirectoryCanTake)
{
    const std::wstring dir = L"C:\\T\\";
    struct Row {
        std::wstring path;
        PlainPathFault fault;
    } rows[] = {
        {dir + L"a.tmp", PlainPathFault::None},
        {L"\\\\S.\\SH\\a.tmp", PlainPathFault::None},  // a server's name is not a file's
        {dir + L"data.tmp.", PlainPathFault::NameEndsInDotOrSpace},
        {dir + L"space.tmp ", PlainPathFault::NameEndsInDotOrSpace},
        {L"C:\\CACHE.\\a.tmp", PlainPathFault::NameEndsInDotOrSpace},
        {dir + L"nul.tmp", PlainPathFault::DeviceName},
        {dir + L"aux.tar.gz", PlainPathFault::DeviceName},
        {dir + L"com1.log", PlainPathFault::DeviceName},
        {dir + L"com\u00B9.txt", PlainPathFault::DeviceName},
        {dir + L"conout$", PlainPathFault::DeviceName},
        {dir + L"nul .txt", PlainPathFault::DeviceName},
        {L"\\\\S\\SH\\NUL\\a.tmp", PlainPathFault::DeviceName},
        {dir + L"com10.txt", PlainPathFault::None},
        {dir + L"console.log", PlainPathFault::None},
        {dir + L"x.nul", PlainPathFault::None},
        {dir + std::wstring(259 - dir.size(), L'a'), PlainPathFault::None},
        {dir + std::wstring(260 - dir.size(), L'a'), PlainPathFault::TooLong},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.fault, RecycleBinFault(r.path)) << std::string(r.path.begin(), r.path.end());

    EXPECT_TRUE(CanBeCurrentDirectory(L"C:\\"));
    EXPECT_TRUE(CanBeCurrentDirectory(dir + std::wstring(258 - dir.size(), L'a')));
    EXPECT_TRUE(CanBeCurrentDirectory(dir + std::wstring(258 - dir.size(), L'a') + L"\\"));
    EXPECT_FALSE(CanBeCurrentDirectory(dir + std::wstring(259 - dir.size(), L'a')));
    EXPECT_FALSE(CanBeCurrentDirectory(L"C:\\CACHE."));
    EXPECT_FALSE(CanBeCurrentDirectory(L"C:\\AUX"));

    EXPECT_EQ(L"\\\\?\\C:\\cache\\data.tmp", NamesakeOf(L"\\\\?\\C:\\cache.\\data.tmp. "));
    EXPECT_EQ(L"\\\\?\\UNC\\S.\\SH\\a", NamesakeOf(L"\\\\?\\UNC\\S.\\SH\\a."));
    EXPECT_TRUE(SameButForClosingDotsAndSpaces(L"\\t\\cache\\f.tmp", L"\\t\\cache.\\f.tmp"));
    EXPECT_FALSE(SameButForClosingDotsAndSpaces(L"\\t\\f", L"\\t\\f\\g"));
}

TEST(CheckBeforeADelete, TheListedFileByItsIdAndTheNamesItWasReachedBy)
{
    const ReportedName both{L"\\\\?\\C:\\t", L"\\t"};
    auto root = std::make_shared<CSearchRoot>(CSearchRoot{L"C:\\T\\", L"\\\\?\\C:\\T", both});
    auto unreported = std::make_shared<CSearchRoot>(CSearchRoot{L"C:\\T\\", L"\\\\?\\C:\\T", ReportedName()});
    const std::wstring deep = std::wstring(300, L'd') + L"\\x.tmp";
    // The system's final path of the opened file, or where it gives none its
    // path on the volume.
    const auto final = [](const std::wstring& path) { return ReportedName{L"\\\\?\\C:" + path, L""}; };
    const auto onVolume = [](const std::wstring& path) { return ReportedName{L"", path}; };
    struct Row {
        const char* what;
        std::shared_ptr<CSearchRoot> root;
        std::wstring below;
        std::uint64_t listedId;
        std::uint64_t openedId;
        ReportedName reported;
        FileVerdict verdict;
    } rows[] = {
        {"the listed file", root, L"a.tmp", 7, 7, final(L"\\t\\a.tmp"), FileVerdict::Listed},
        {"beyond MAX_PATH, on its volume", root, deep, 7, 7, onVolume(L"\\t\\" + deep), FileVerdict::Listed},
        {"a dotted name, another file in its place", root, L"data.tmp.", 7, 8, final(L"\\t\\data.tmp."), FileVerdict::Other},
        {"a link to a file elsewhere, or a folder swapped for one", root, L"a.tmp", 7, 7, final(L"\\t\\out\\a.tmp"),
         FileVerdict::Elsewhere},
        {"a plain name leading to a dotted one", root, L"a.tmp", 7, 7, final(L"\\t\\a.tmp."), FileVerdict::Elsewhere},
        {"where no name ends in a dot or a space, the names alone decide", root, L"a.tmp", 0, 5, final(L"\\t\\a.tmp"),
         FileVerdict::Listed},
        {"a dotted name with no id kept", root, L"data.tmp.", ~std::uint64_t(0), 5, final(L"\\t\\data.tmp"), FileVerdict::Other},
        {"no name reported now", root, L"a.tmp", 7, 7, ReportedName(), FileVerdict::Other},
        {"none reported for the stored directory", unreported, L"a.tmp", 7, 7, final(L"\\t\\a.tmp"), FileVerdict::Other},
        {"a dotted name reported without its dot", root, L"data.tmp.", 7, 7, final(L"\\t\\data.tmp"), FileVerdict::AskNamesake},
        {"a dotted name reported with it", root, L"data.tmp.", 7, 7, final(L"\\t\\data.tmp."), FileVerdict::AskNamesake},
        {"a dotted folder, on the volume", root, L"cache.\\f.tmp", 7, 7, onVolume(L"\\t\\cache\\f.tmp"),
         FileVerdict::AskNamesake},
        {"a name ending in a space", root, L"space.tmp ", 7, 7, final(L"\\t\\space.tmp"), FileVerdict::AskNamesake},
        {"a dotted name leading elsewhere", root, L"data.tmp.", 7, 7, final(L"\\t\\other.tmp"), FileVerdict::Elsewhere},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.verdict, CFoundFile(r.root, r.below, r.listedId).Judge(r.openedId, r.reported)) << r.what;
    EXPECT_EQ(FileVerdict::Other, CFoundFile().Judge(7, final(L"\\t\\a.tmp")));
    const CFoundFile shown(root, L"sub\\a.tmp", 7);
    EXPECT_EQ(L"C:\\T\\sub\\a.tmp", shown.Shown());
    EXPECT_EQ(L"\\\\?\\C:\\T\\sub\\a.tmp", shown.Verbatim());
}

// A pass with subfolders over a volume's root, in any of its forms, with a
// mask that takes every name, would empty the volume.
TEST(CleanupRules, VolumeRootsAndWhatExclusionsName)
{
    const struct {
        const wchar_t* dir;
        bool mountPoint;
        int recurse;
        const wchar_t* mask;
        bool empties;
    } rows[] = {
        {L"C:\\", false, 1, L"*", true},           {L"c:/", false, 1, L"*.*", true},
        {L"\\\\?\\C:\\", false, 1, L"*", true},    {L"\\\\.\\C:\\", false, 1, L"*", true},
        {L"C:\\Windows\\..", false, 1, L"*", true},  {L"\\\\server\\share", false, 1, L"*", true},
        {L"\\\\server\\share\\", false, 1, L"**", true}, {L"\\\\?\\UNC\\server\\share", false, 1, L"*.*", true},
        {L"\\\\?\\Volume{1b3b}\\", false, 1, L"*", true}, {L"D:\\mnt\\disk2", true, 1, L"*", true},
        {L"C:\\", false, 1, L"*.TMP", false},      {L"C:\\", false, 1, L"?*", true},
        {L"C:\\", false, 0, L"*", false},          {L"C:\\Temp", false, 1, L"*", false},
        {L"\\\\server\\share\\sub", false, 1, L"*.*", false}, {L"C:\\", false, 1, L"*.", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.empties, EmptiesVolume(row.dir, row.mountPoint, row.recurse, row.mask)) << &row - rows;

    const std::pair<const wchar_t*, FolderExclusionKind> kinds[] = {
        {L"node_modules", FolderExclusionKind::Name}, {L"*.cache", FolderExclusionKind::Name},
        {L"C:\\VM", FolderExclusionKind::Path},       {L"\\\\server\\share\\x", FolderExclusionKind::Path},
        {L"", FolderExclusionKind::Invalid},           {L".\\cache", FolderExclusionKind::Invalid},
        {L"a\\b", FolderExclusionKind::Invalid},       {L"C:cache", FolderExclusionKind::Invalid},
        {L"\\cache", FolderExclusionKind::Invalid},    {L"C:\\Users\\*\\AppData", FolderExclusionKind::Invalid},
    };
    for (const auto& kind : kinds)
        EXPECT_EQ(kind.second, KindOfFolderExclusion(kind.first)) << &kind - kinds;
}

// Strictly older, newer, larger, smaller; a missing or future time is taken
// by no age condition.
TEST(FileFilter, AgesInExactDaysSizesStrictly)
{
    const std::uint64_t now = 1000 * TICKS_PER_DAY, week = 7 * TICKS_PER_DAY;
    std::optional<std::uint64_t> no;
    const auto filter = [&](std::optional<std::uint64_t> older, std::optional<std::uint64_t> newer, FileTimeKind time = FileTimeKind::Written) {
        FileFilter f;
        f.now = now;
        f.olderThan = older;
        f.newerThan = newer;
        f.time = time;
        return f;
    };
    const FileFilter older = filter(week, no), newer = filter(no, week);
    const struct {
        FileFilter filter;
        std::uint64_t written, created, accessed;
        bool taken;
    } rows[] = {
        {older, now - week, 0, 0, false},  // exactly seven days old: neither older
        {newer, now - week, 0, 0, false},  // nor newer
        {older, now - week - 1, 0, 0, true},
        {newer, now - week + 1, 0, 0, true},
        {newer, now, 0, 0, true},
        {newer, now + 1, 0, 0, false},  // after the start
        {older, 0, 0, 0, false},  // no time
        {filter(week, 2 * week), now - week - 1, 0, 0, true},
        {filter(week, 2 * week), now - 2 * week - 1, 0, 0, false},
        {filter(week, no, FileTimeKind::Created), now, now - 2 * week, now, true},
        {filter(week, no, FileTimeKind::Accessed), now, now, now - 2 * week, true},
    };
    for (const auto& row : rows) {
        FileFacts facts;
        facts.written = row.written;
        facts.created = row.created;
        facts.accessed = row.accessed;
        EXPECT_EQ(row.taken, row.filter.Takes(facts)) << "row " << &row - rows;
    }
    FileFilter larger, smaller;
    larger.largerThan = smaller.smallerThan = 1024;
    FileFacts size;  // no times: a size filter reads none
    for (std::uint64_t bytes : {1023u, 1024u, 1025u}) {
        size.size = bytes;
        EXPECT_EQ(bytes > 1024, larger.Takes(size));
        EXPECT_EQ(bytes < 1024, smaller.Takes(size));
        EXPECT_TRUE(FileFilter().Takes(size));
    }
}

}  // namespace
