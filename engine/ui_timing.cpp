#include "engine/ui_timing.h"

namespace {

bool Due(DWORD& last, DWORD interval)
{
    DWORD now = ::GetTickCount();
    if (now - last < interval)
        return false;
    last = now;
    return true;
}

}  // namespace

bool DrainDue(DWORD& last)
{
    return Due(last, DRAIN_INTERVAL_MS);
}

bool RedrawDue(DWORD& last)
{
    return Due(last, REDRAW_INTERVAL_MS);
}

void DrainMessageQueue()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the main loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void SuspendRedraw(CWnd& control)
{
    control.SendMessage(WM_SETREDRAW, FALSE);
}

void ResumeRedraw(CWnd& control)
{
    control.SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(control.m_hWnd, nullptr, TRUE);
}

void FitHorizontalExtent(CListBox& list, const char* widest)
{
    HDC dc = ::GetDC(list.m_hWnd);
    if (!dc)
        return;
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(list.SendMessage(WM_GETFONT)));
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, widest, lstrlenA(widest), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(list.m_hWnd, dc);
    list.SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(size.cx + 8));
}
