// The portable code-page-932 helpers agree with the Windows runtime's own
// multibyte functions on the table of tricky strings.
#include <mbstring.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/mbcs_cp932.h"
#include "tests/support/mbcs_cases.h"

namespace {

const unsigned char* U(const char* s)
{
    return reinterpret_cast<const unsigned char*>(s);
}
int Sign(int v)
{
    return (v > 0) - (v < 0);
}

TEST(MbcsContract, PortableHelpersMatchTheRuntime)
{
    ASSERT_EQ(932u, ::GetACP());
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(::IsDBCSLeadByte(static_cast<BYTE>(b)) != 0, cp932::IsLeadByte(static_cast<unsigned char>(b))) << b;

    for (const MbcsCase& c : kMbcsCases) {
        SCOPED_TRACE(c.text);
        std::string ours(c.text), theirs(c.text);
        cp932::Upper(&ours[0]);
        _mbsupr(reinterpret_cast<unsigned char*>(&theirs[0]));
        EXPECT_EQ(theirs, ours);
        const unsigned char* r = _mbsrchr(U(c.text), '\\');
        const char* o = cp932::ReverseFind(c.text, '\\');
        EXPECT_EQ(r ? static_cast<int>(r - U(c.text)) : -1, o ? static_cast<int>(o - c.text) : -1);
    }
    for (const MbcsComparePair& p : kMbcsComparePairs) {
        SCOPED_TRACE(std::string(p.a) + " | " + p.b);
        EXPECT_EQ(Sign(_mbscmp(U(p.a), U(p.b))), Sign(cp932::Compare(p.a, p.b)));
        EXPECT_EQ(Sign(_mbsicmp(U(p.a), U(p.b))), Sign(cp932::CompareNoCase(p.a, p.b)));
    }
}

TEST(MbcsContract, EveryDoubleByteCharacterUpperCasesAlike)
{
    // The whole code page, one character at a time.
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::IsLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            unsigned char text[3] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail), 0};
            unsigned char theirs[3] = {text[0], text[1], 0};
            _mbsupr(theirs);
            const unsigned code = (lead << 8) | trail;
            const unsigned mapped = (theirs[0] << 8) | theirs[1];
            // The runtime also folds duplicate codes of the vendor extensions
            // onto their standard codes; those are no case pairs.
            if (mapped != code && _mbctolower(mapped) != code)
                continue;
            EXPECT_EQ(mapped, cp932::ToUpper(code)) << std::hex << code;
        }
    }
}

}  // namespace
