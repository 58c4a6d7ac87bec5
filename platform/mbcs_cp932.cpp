#include "platform/mbcs_cp932.h"

namespace cp932 {
namespace {

// Case pairs of the double-byte characters that have a case: the runtime
// maps these (through the system's case tables) and nothing else.
struct CaseRange {
    unsigned upperFirst;
    unsigned lowerFirst;
    unsigned count;
};

const CaseRange kCaseRanges[] = {
    {0x8260, 0x8281, 26},  // full-width Latin Ａ-Ｚ / ａ-ｚ
    {0x839F, 0x83BF, 24},  // Greek Α-Ω / α-ω
    {0x8440, 0x8470, 15},  // Cyrillic А-Н / а-н
    {0x844F, 0x8480, 18},  // Cyrillic О-Я / о-я (0x847F is unused)
    {0x8754, 0xFA40, 10},  // Roman numerals Ⅰ-Ⅹ / ⅰ-ⅹ
};

}  // namespace

unsigned NextChar(const unsigned char*& p)
{
    unsigned c = *p++;
    if (IsLeadByte(static_cast<unsigned char>(c)) && *p != 0)
        c = (c << 8) | *p++;
    return c;
}

unsigned ToUpper(unsigned ch)
{
    if (ch >= 'a' && ch <= 'z')
        return ch - ('a' - 'A');
    if (ch >= 0xEEEF && ch <= 0xEEF8)  // NEC-selected ⅰ-ⅹ
        return 0x8754 + (ch - 0xEEEF);
    for (const CaseRange& r : kCaseRanges) {
        if (ch >= r.lowerFirst && ch < r.lowerFirst + r.count)
            return r.upperFirst + (ch - r.lowerFirst);
    }
    return ch;
}

unsigned ToLower(unsigned ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch + ('a' - 'A');
    for (const CaseRange& r : kCaseRanges) {
        if (ch >= r.upperFirst && ch < r.upperFirst + r.count)
            return r.lowerFirst + (ch - r.upperFirst);
    }
    return ch;
}

namespace {

template <typename Fold>
int CompareWith(const char* a, const char* b, Fold fold)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;;) {
        unsigned c1 = fold(NextChar(p));
        unsigned c2 = fold(NextChar(q));
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
        if (c1 == 0)
            return 0;
    }
}

}  // namespace

int Compare(const char* a, const char* b)
{
    return CompareWith(a, b, [](unsigned c) { return c; });
}

int CompareNoCase(const char* a, const char* b)
{
    return CompareWith(a, b, ToLower);
}

void Upper(char* text)
{
    unsigned char* p = reinterpret_cast<unsigned char*>(text);
    while (*p) {
        unsigned char* start = p;
        const unsigned char* read = p;
        unsigned c = ToUpper(NextChar(read));
        if (read - start == 2) {
            start[0] = static_cast<unsigned char>(c >> 8);
            start[1] = static_cast<unsigned char>(c & 0xFF);
        } else {
            start[0] = static_cast<unsigned char>(c);
        }
        p = start + (read - start);
    }
}

const char* ReverseFind(const char* text, unsigned char ch)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const char* found = nullptr;
    while (*p) {
        const unsigned char* here = p;
        if (NextChar(p) == ch)
            found = reinterpret_cast<const char*>(here);
    }
    return found;
}

}  // namespace cp932
