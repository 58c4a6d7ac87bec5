#include "platform/win/wnd.h"

#include "platform/win/ui_seam.h"
#include "platform/win/wide_text.h"

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBuffer(length);
    int got = length > 0 ? ::GetWindowTextA(m_hWnd, buffer, length + 1) : 0;
    text.ReleaseBuffer(got < 0 ? 0 : got);
}

bool CWnd::GetExactWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    int got = length > 0 ? ::GetWindowTextW(m_hWnd, &wide[0], length + 1) : 0;
    wide.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return ExactAnsiFromWide(wide.c_str(), text);
}

int CWnd::GetDpi() const
{
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow) {
        if (const UINT dpi = forWindow(m_hWnd))
            return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}
