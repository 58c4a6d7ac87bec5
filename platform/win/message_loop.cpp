#include "platform/win/message_loop.h"

#include "platform/win/list_box.h"
#include "platform/win/progress_ctrl.h"

namespace {

bool IsDialogWindow(HWND hWnd)
{
    char name[16];
    return ::GetClassNameA(hWnd, name, sizeof name) && lstrcmpA(name, "#32770") == 0;
}

// The dialog keyboard handling for whichever dialog the message is for, as
// the framework's modal loop gives it to modeless dialogs too.
bool PreTranslate(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    return root && IsDialogWindow(root) && ::IsDialogMessageW(root, &msg);
}

// True (and `last` set to now) once `interval` has passed since `last`.
bool Due(DWORD& last, DWORD interval)
{
    DWORD now = ::GetTickCount();
    if (now - last < interval)
        return false;
    last = now;
    return true;
}

}  // namespace

void RunModalLoop(HWND dialog, const bool& ended)
{
    MSG msg;
    while (!ended && ::IsWindow(dialog)) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!PreTranslate(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void DrainMessageQueue()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void CThrottledDrain::Begin(CProgressCtrl& bar)
{
    Abandon();
    m_bar = &bar;
    m_quiet[0] = &bar;
    m_nQuiet = 1;
    bar.SetRedraw(FALSE);
    m_lastDrainMs = m_lastRedrawMs = ::GetTickCount();
}

void CThrottledDrain::Quiet(CWnd& control)
{
    if (m_nQuiet == 2)
        return;
    m_quiet[m_nQuiet++] = &control;
    control.SetRedraw(FALSE);
}

void CThrottledDrain::SetPos(int position)
{
    m_pos = position;
    m_bPosHeld = true;
}

void CThrottledDrain::SetRange(int lower, int upper)
{
    if (m_bPosHeld)
        m_bar->SetPos(m_pos);
    m_bPosHeld = false;
    m_bar->SetRange(lower, upper);
}

void CThrottledDrain::SetStatus(CWnd& status, const CString& text)
{
    m_status = &status;
    m_strStatus = text;
    m_bStatusHeld = true;
}

void CThrottledDrain::SetHorizontalExtent(CListBox& list, int pixels)
{
    m_list = &list;
    m_extent = pixels;
    m_bExtentHeld = true;
}

void CThrottledDrain::Flush()
{
    if (m_bPosHeld)
        m_bar->SetPos(m_pos);
    if (m_bStatusHeld)
        m_status->SetWindowText(m_strStatus);
    if (m_bExtentHeld)
        m_list->SetHorizontalExtent(m_extent);
    m_bPosHeld = m_bStatusHeld = m_bExtentHeld = false;
}

bool CThrottledDrain::Poll()
{
    if (!Due(m_lastDrainMs, DRAIN_INTERVAL_MS))
        return false;
    Flush();
    const bool redraw = Due(m_lastRedrawMs, REDRAW_INTERVAL_MS);
    if (redraw)
        SetQuietRedraw(TRUE);
    DrainMessageQueue();
    // A handler inside the drain may have closed the window.
    if (redraw && m_bar && ::IsWindow(m_bar->m_hWnd))
        SetQuietRedraw(FALSE);
    return true;
}

void CThrottledDrain::End()
{
    Flush();
    SetQuietRedraw(TRUE);
    m_nQuiet = 0;
}

void CThrottledDrain::Abandon()
{
    m_bPosHeld = m_bStatusHeld = m_bExtentHeld = false;
    m_nQuiet = 0;
}

void CThrottledDrain::SetQuietRedraw(BOOL redraw)
{
    for (int i = 0; i < m_nQuiet; ++i) {
        m_quiet[i]->SetRedraw(redraw);
        if (redraw)
            m_quiet[i]->Invalidate();
    }
}
