#include "platform/win/wnd.h"

#include "platform/win/ui_seam.h"

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBuffer(length);
    int got = length > 0 ? ::GetWindowTextA(m_hWnd, buffer, length + 1) : 0;
    text.ReleaseBuffer(got < 0 ? 0 : got);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) const
{
    return platform::ShowMessageBox(m_hWnd, text, caption, type);
}
