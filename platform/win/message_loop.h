// The program's two ways of handling its queue: the modal loop of a dialog,
// and the throttled drain of a long loop (the search, the deletion pass) that
// runs inside a handler and keeps the windows alive by draining the queue
// itself after each unit of work. Both take messages with the wide functions,
// so that a character typed or given by an input method reaches an edit
// field whole, whatever the code page.
#pragma once

#include <windows.h>

#include "platform/cstring.h"

class CWnd;
class CListBox;
class CProgressCtrl;

// Runs until `ended` is set or `dialog` is gone, giving every dialog of the
// thread its keyboard handling (Tab, Enter, Escape). A WM_QUIT is put back
// for the loop outside.
void RunModalLoop(HWND dialog, const bool& ended);

// Dispatches every queued message of the thread, without waiting and without
// any window's dialog keyboard handling; a WM_QUIT is left for the main loop.
void DrainMessageQueue();

// The drain of one long loop over one window. Each look at the queue and each
// change to a visible control is a round trip to the window system, so the
// queue is drained at most every DRAIN_INTERVAL_MS; the quiet controls are
// drawn only at redraws, at most every REDRAW_INTERVAL_MS; and moves of the
// bar, texts of the status line and the list's scrolling width are held back
// until the next drain (the only time anyone can see them) or the end of the
// phase. What the window shows at a drain or at the end is exactly what
// doing each step at once would have shown.
class CThrottledDrain {
public:
    static const DWORD DRAIN_INTERVAL_MS = 20;
    static const DWORD REDRAW_INTERVAL_MS = 250;

    // Starts a loop over `bar`, whose drawing stops between redraws; nothing
    // is held back yet.
    void Begin(CProgressCtrl& bar);
    // One more control drawn only at redraws, from now until End.
    void Quiet(CWnd& control);

    void SetPos(int position);
    // The range changes at once, after the moves held back.
    void SetRange(int lower, int upper);
    void SetStatus(CWnd& status, const CString& text);
    void SetHorizontalExtent(CListBox& list, int pixels);

    // Drains the queue when a drain is due, showing what was held back first;
    // true when it drained.
    bool Poll();
    // Shows what was held back (the end of a phase).
    void Flush();
    // Flushes and draws every quiet control again.
    void End();
    // Forgets what was held back: the window has gone.
    void Abandon();

private:
    void SetQuietRedraw(BOOL redraw);

    CProgressCtrl* m_bar = nullptr;
    CWnd* m_quiet[2] = {};
    int m_nQuiet = 0;
    CWnd* m_status = nullptr;
    CString m_strStatus;
    int m_pos = 0;
    CListBox* m_list = nullptr;
    int m_extent = 0;
    bool m_bPosHeld = false;
    bool m_bStatusHeld = false;
    bool m_bExtentHeld = false;
    DWORD m_lastDrainMs = 0;
    DWORD m_lastRedrawMs = 0;
};
