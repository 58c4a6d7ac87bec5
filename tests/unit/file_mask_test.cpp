// A mask against a file's own name, by the rules Windows documents for its
// masks, the same on every system.
#include <gtest/gtest.h>

#include <string>

#include "engine/file_mask.h"

namespace {

struct Row {
    const wchar_t* mask;
    const wchar_t* name;
    bool takes;
};

TEST(FileMask, TakesANameByWindowsRules)
{
    const Row rows[] = {
        // Every name.
        {L"", L"noext", true},
        {L"*", L".", true},
        {L"*.*", L"noext", true},
        {L"*.*", L"a.b.c", true},
        // A star and a plain tail: the tail must end the name.
        {L"*.tmp", L"a.tmp", true},
        {L"*.tmp", L"B.TMP", true},
        {L"*.tmp", L"report.tmp_keep", false},
        {L"*.tmp", L"y.tmp1", false},
        {L"*.bak", L"thesis.bakup", false},
        {L"*.htm", L"page.html", false},
        {L"*.tmp", L".tmp", true},
        // "*." at the end: names without a dot.
        {L"*.", L"noext", true},
        {L"*.", L"a.b", false},
        {L"*.", L".", false},
        {L"a*.", L"abc", true},
        // "?" is one character, or none before a dot or at the end.
        {L"????.*", L"c.bak", true},
        {L"????.*", L"note", true},
        {L"????.*", L"noext", false},
        {L"????.*", L"abcd.e", true},
        {L"*.tmp?", L"a.tmp", true},
        {L"*.tmp?", L"a.tmp1", true},
        {L"*.tmp?", L"a.tmp12", false},
        {L"a?", L"a", true},
        {L"a?", L"ab", true},
        {L"a?", L"abc", false},
        {L"a?.txt", L"a.txt", true},
        {L"?", L".", false},
        // A dot before a wildcard also takes the end of a name without one.
        {L"foo.*", L"foo", true},
        {L"foo.*", L"foo.bar", true},
        {L"foo.*", L"foobar", false},
        {L"foo.?", L"foo", true},
        // Stars inside, and more than one.
        {L"a*b*c", L"aXbYc", true},
        {L"a*b*c", L"aXcYb", false},
        {L"*a*", L"bab", true},
        {L"*~*.tmp", L"x~y.tmp", true},
        // Plain names, letters without regard to case.
        {L"Thumbs.db", L"THUMBS.DB", true},
        {L"Thumbs.db", L"Thumbs.db.old", false},
        {L"Ä.TXT", L"ä.txt", true},
        {L"ПРИВЕТ.*", L"привет.doc", true},
        {L"*.ＴＭＰ", L"ａ.ｔｍｐ", true},
        {L"Ⅳ*", L"ⅳ章.txt", true},
        // Double-byte names: one character each.
        {L"表*.TXT", L"表紙.txt", true},
        {L"??.txt", L"表紙.txt", true},
        {L"?.txt", L"表紙.txt", false},
        {L"*ソ", L"ソ", true},
        {L"データ.*", L"データ", true},
        {L"でーた", L"データ", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.takes, CFileMask(row.mask).Takes(row.name)) << row.mask << " against " << row.name;
}

}  // namespace
