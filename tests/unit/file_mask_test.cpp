// A mask against a file's own name, by the rules Windows documents for its
// masks, the same on every system.
#include <gtest/gtest.h>

#include <vector>

#include "engine/file_mask.h"

namespace {

struct Row {
    const wchar_t* mask;
    std::vector<const wchar_t*> takes;
    std::vector<const wchar_t*> leaves;
};

TEST(FileMask, TakesANameByWindowsRules)
{
    const Row rows[] = {
        // Every name.
        {L"", {L"noext"}, {}},
        {L"*", {L".", L"a.b"}, {}},
        {L"*.*", {L"noext", L"a.b.c"}, {}},
        // A star and a plain tail: the tail ends the name.
        {L"*.tmp", {L"a.tmp", L"B.TMP", L".tmp"}, {L"report.tmp_keep", L"y.tmp1"}},
        {L"*.bak", {L"c.bak"}, {L"thesis.bakup"}},
        {L"*.htm", {L"p.htm"}, {L"page.html"}},
        // "*." at the end: names without a dot.
        {L"*.", {L"noext"}, {L"a.b", L"."}},
        // "?" is one character, or none before a dot or at the end.
        {L"????.*", {L"c.bak", L"note", L"abcd.e"}, {L"noext"}},
        {L"*.tmp?", {L"a.tmp", L"a.tmp1"}, {L"a.tmp12"}},
        {L"a?", {L"a", L"ab"}, {L"abc"}},
        {L"a?.txt", {L"a.txt"}, {}},
        {L"?", {}, {L"."}},
        // A dot before a wildcard also takes the end of a name without one.
        {L"foo.*", {L"foo", L"foo.bar"}, {L"foobar"}},
        {L"foo.?", {L"foo"}, {}},
        // Stars inside, and more than one.
        {L"a*b*c", {L"aXbYc"}, {L"aXcYb"}},
        {L"*~*.tmp", {L"x~y.tmp"}, {}},
        {L"*ソ", {L"ソ"}, {}},
        // Plain names, letters without regard to case.
        {L"Thumbs.db", {L"THUMBS.DB"}, {L"Thumbs.db.old"}},
        {L"Ä.TXT", {L"ä.txt"}, {}},
        {L"ПРИВЕТ.*", {L"привет.doc"}, {}},
        {L"*.ＴＭＰ", {L"ａ.ｔｍｐ"}, {}},
        {L"Ⅳ*", {L"ⅳ章.txt"}, {}},
        // Double-byte names: one character each.
        {L"表*.TXT", {L"表紙.txt"}, {}},
        {L"??.txt", {L"表紙.txt"}, {}},
        {L"?.txt", {}, {L"表紙.txt"}},
        {L"データ.*", {L"データ"}, {L"でーた"}},
    };
    for (const Row& row : rows) {
        const CFileMask mask(row.mask);
        for (const wchar_t* name : row.takes)
            EXPECT_TRUE(mask.Takes(name)) << row.mask << " takes " << name;
        for (const wchar_t* name : row.leaves)
            EXPECT_FALSE(mask.Takes(name)) << row.mask << " leaves " << name;
    }
}

}  // namespace
