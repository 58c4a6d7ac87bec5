#include <gtest/gtest.h>

#include <string>

#include "platform/cstring.h"
#include "platform/mbcs.h"
#include "tests/support/mbcs_cases.h"

namespace {

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

TEST(Mbcs, SeparatorsAndUpperCaseReadWholeCharacters)
{
    for (const MbcsCase& c : kMbcsCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.endsWithSeparator, EndsWithSeparator(c.text));
        const char* last = MbsRChr(c.text, '\\');
        EXPECT_EQ(c.lastSeparator, last ? static_cast<int>(last - c.text) : -1);
        CString s(c.text);
        s.MakeUpper();
        EXPECT_STREQ(c.upper, s);
        EXPECT_EQ(CString(c.text).GetLength(), s.GetLength());
    }
}

TEST(Mbcs, ComparisonsUseCharacterCodes)
{
    for (const MbcsComparePair& p : kMbcsComparePairs) {
        SCOPED_TRACE(std::string(p.a) + " | " + p.b);
        EXPECT_EQ(p.cmpSign, Sign(MbsCmp(p.a, p.b)));
        EXPECT_EQ(-p.cmpSign, Sign(MbsCmp(p.b, p.a)));
        EXPECT_EQ(p.icmpSign, Sign(MbsICmp(p.a, p.b)));
    }
}

TEST(Mbcs, LoneLeadByteAtTheEndIsHarmless)
{
    // Text from a damaged settings file can end in the middle of a character.
    CString s("ab\x95");
    s.MakeUpper();
    EXPECT_STREQ("AB\x95", s);
    EXPECT_FALSE(EndsWithSeparator("ab\x95"));
    EXPECT_NE(0, MbsCmp("A\x95", "A"));
}

TEST(CString, HoldsBytesAndRefusesOtherTypes)
{
    CString s("C:\\TEMP");
    s += "\\";
    EXPECT_EQ(8, s.GetLength());
    EXPECT_TRUE(s == "C:\\TEMP\\");
    CString empty(static_cast<const char*>(nullptr));
    EXPECT_TRUE(empty.IsEmpty());
    CString withZero("ab\0cd", 5);
    EXPECT_EQ(5, withZero.GetLength());
    char* buf = withZero.GetBuffer(5);
    EXPECT_EQ('a', buf[0]);
    withZero.ReleaseBuffer();
    EXPECT_EQ(2, withZero.GetLength());
    static_assert(!std::is_constructible<CString, int>::value, "a number is not text");
    static_assert(!std::is_constructible<CString, wchar_t>::value, "a wide character is not text");
    static_assert(!std::is_constructible<CString, const wchar_t*>::value, "wide text is not ANSI text");
}

}  // namespace
