#include "platform/win/wide_text.h"

#include <windows.h>

std::wstring WideFromAnsi(const char* text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

namespace {

CString ToAnsi(const wchar_t* text, DWORD flags, BOOL* usedDefault)
{
    int n = ::WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, usedDefault);
    CString ansi;
    if (n <= 1)
        return ansi;
    char* buffer = ansi.GetBuffer(n);
    ::WideCharToMultiByte(CP_ACP, flags, text, -1, buffer, n, nullptr, usedDefault);
    ansi.ReleaseBuffer(n - 1);
    return ansi;
}

}  // namespace

CString AnsiFromWide(const wchar_t* text)
{
    CString ansi;
    if (ExactAnsiFromWide(text, ansi))
        return ansi;
    // Character by character, a surrogate pair as one.
    ansi.Empty();
    for (const wchar_t* p = text; *p;) {
        const size_t n = IS_HIGH_SURROGATE(p[0]) && IS_LOW_SURROGATE(p[1]) ? 2 : 1;
        const std::wstring one(p, n);
        CString spelled;
        ansi += ExactAnsiFromWide(one.c_str(), spelled) ? spelled : CString("？");
        p += n;
    }
    return ansi;
}

bool ExactAnsiFromWide(const wchar_t* text, CString& ansi)
{
    BOOL usedDefault = FALSE;
    ansi = ToAnsi(text, WC_NO_BEST_FIT_CHARS, &usedDefault);
    // The spelling must also read back as the same characters.
    return !usedDefault && WideFromAnsi(ansi) == text;
}
