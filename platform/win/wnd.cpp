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
