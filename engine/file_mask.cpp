#include "engine/file_mask.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

// The wildcards a mask's "*.", "?" and "." become; a file name can hold none
// of these characters, so they never meet a name's own.
const wchar_t DOS_STAR = L'<';
const wchar_t DOS_QM = L'>';
const wchar_t DOS_DOT = L'"';

bool IsWildcard(wchar_t c)
{
    return c == L'*' || c == DOS_STAR || c == DOS_QM || c == DOS_DOT;
}

bool SameUpcased(const wchar_t* upcased, const wchar_t* name, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (upcased[i] != UpcaseForNames(name[i]))
            return false;
    }
    return true;
}

}  // namespace

wchar_t UpcaseForNames(wchar_t c)
{
    const unsigned u = static_cast<unsigned>(c);
    auto lowerOfPair = [u](unsigned first, unsigned last, unsigned lowerParity) {
        return u >= first && u <= last && (u & 1) == lowerParity;
    };
    if (u < 0x80)
        return u >= 'a' && u <= 'z' ? static_cast<wchar_t>(u - 0x20) : c;
    if ((u >= 0xE0 && u <= 0xFE && u != 0xF7) || (u >= 0x3B1 && u <= 0x3CB && u != 0x3C2) || (u >= 0x430 && u <= 0x44F) ||
        (u >= 0xFF41 && u <= 0xFF5A))
        return static_cast<wchar_t>(u - 0x20);
    if (u == 0xFF)
        return static_cast<wchar_t>(0x178);
    if (u == 0x3C2)  // final sigma
        return static_cast<wchar_t>(0x3A3);
    if (u >= 0x450 && u <= 0x45F)
        return static_cast<wchar_t>(u - 0x50);
    if (u >= 0x2170 && u <= 0x217F)  // small Roman numerals
        return static_cast<wchar_t>(u - 0x10);
    if (u >= 0x24D0 && u <= 0x24E9)  // circled small letters
        return static_cast<wchar_t>(u - 0x1A);
    // Latin Extended-A and Cyrillic pairs: upper and lower side by side.
    if (lowerOfPair(0x100, 0x137, 1) || lowerOfPair(0x139, 0x148, 0) || lowerOfPair(0x14A, 0x177, 1) ||
        lowerOfPair(0x179, 0x17E, 0) || lowerOfPair(0x460, 0x481, 1) || lowerOfPair(0x48A, 0x4BF, 1) ||
        lowerOfPair(0x4C1, 0x4CE, 0) || lowerOfPair(0x4D0, 0x52F, 1))
        return static_cast<wchar_t>(u - 1);
    return c;
}

CFileMask::CFileMask(const std::wstring& mask)
{
    if (mask.empty() || mask == L"*" || mask == L"*.*") {
        m_kind = Kind::Every;
        return;
    }
    // The translation FindFirstFile makes of a mask before it matches.
    const size_t n = mask.size();
    for (size_t i = 0; i < n; ++i) {
        const wchar_t c = mask[i];
        if (c == L'.') {
            if (i >= 1 && i == n - 1 && mask[i - 1] == L'*')
                m_expression.back() = DOS_STAR;
            else if (i + 1 < n && (mask[i + 1] == L'?' || mask[i + 1] == L'*'))
                m_expression += DOS_DOT;
            else
                m_expression += L'.';
        } else if (c == L'?') {
            m_expression += DOS_QM;
        } else {
            m_expression += UpcaseForNames(c);
        }
    }
    size_t wildcards = 0;
    for (wchar_t c : m_expression)
        wildcards += IsWildcard(c) ? 1 : 0;
    if (wildcards == 0)
        m_kind = Kind::Exact;
    else if (wildcards == 1 && m_expression[0] == L'*')
        m_kind = Kind::Suffix;
    else
        m_kind = Kind::Wildcard;
}

bool CFileMask::Takes(const wchar_t* name) const
{
    const size_t length = std::wcslen(name);
    switch (m_kind) {
    case Kind::Every:
        return true;
    case Kind::Exact:
        return length == m_expression.size() && SameUpcased(m_expression.c_str(), name, length);
    case Kind::Suffix: {
        const size_t tail = m_expression.size() - 1;
        return length >= tail && SameUpcased(m_expression.c_str() + 1, name + length - tail, tail);
    }
    case Kind::Wildcard:
        break;
    }
    return TakesByRules(name, length);
}

// The mask as an automaton over its positions, run over the name one
// character at a time; wildcards may also be passed without a character
// (a star always, DOS_QM at a dot or the end, DOS_DOT at the end).
bool CFileMask::TakesByRules(const wchar_t* name, size_t length) const
{
    const size_t m = m_expression.size();
    const wchar_t* lastDot = std::wcsrchr(name, L'.');
    std::vector<unsigned char> now(m + 1, 0), next(m + 1, 0);
    now[0] = 1;
    for (size_t i = 0;; ++i) {
        const bool end = i == length;
        const bool dot = !end && name[i] == L'.';
        for (size_t p = 0; p < m; ++p) {
            if (!now[p])
                continue;
            const wchar_t e = m_expression[p];
            if (e == L'*' || e == DOS_STAR || (e == DOS_QM && (end || dot)) || (e == DOS_DOT && end))
                now[p + 1] = 1;
        }
        if (end)
            return now[m] != 0;

        const wchar_t c = UpcaseForNames(name[i]);
        bool any = false;
        std::fill(next.begin(), next.end(), 0);
        for (size_t p = 0; p < m; ++p) {
            if (!now[p])
                continue;
            const wchar_t e = m_expression[p];
            size_t to = m + 1;  // none
            if (e == L'*')
                to = p;
            else if (e == DOS_STAR)
                to = name + i == lastDot ? to : p;  // never past the last dot
            else if (e == DOS_QM)
                to = dot ? to : p + 1;
            else if (e == DOS_DOT)
                to = dot ? p + 1 : to;
            else if (e == c)
                to = p + 1;
            if (to <= m) {
                next[to] = 1;
                any = true;
            }
        }
        if (!any)
            return false;
        now.swap(next);
    }
}
