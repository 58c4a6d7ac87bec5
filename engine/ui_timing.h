// The message drain of the long-running loops and the suspended drawing of
// a list that fills fast. Draining costs a round trip to the window system
// each time, so the loops drain at most every DRAIN_INTERVAL_MS, and a list
// whose drawing is suspended is shown again at least every REDRAW_INTERVAL_MS.
#pragma once

#include <windows.h>

#include "platform/cstring.h"
#include "platform/win/list_box.h"
#include "platform/win/progress_ctrl.h"

const DWORD DRAIN_INTERVAL_MS = 10;
const DWORD REDRAW_INTERVAL_MS = 100;

// True (and `last` set to now) when the next drain is due.
bool DrainDue(DWORD& last);
bool RedrawDue(DWORD& last);

// Dispatches every queued message of the thread, without waiting and without
// any window's dialog keyboard handling.
void DrainMessageQueue();

// Drawing of a control switched off, and back on with a full repaint.
void SuspendRedraw(CWnd& control);
void ResumeRedraw(CWnd& control);
// Lets the horizontal scroll bar reach the end of `widest`.
void FitHorizontalExtent(CListBox& list, const char* widest);

// The progress bar of a loop that moves it once per file. A move costs a
// round trip to the window system even with the bar's drawing suspended, so
// it is held back until the loop drains its queue (the only time anyone can
// look at the bar) or changes the range; the bar then stands exactly where
// the moves one by one would have left it.
class DeferredProgress {
public:
    explicit DeferredProgress(CProgressCtrl& bar) : m_bar(bar) {}
    void SetPos(int position) { m_pending = position; m_hasPending = true; }
    void SetRange(int lower, int upper)
    {
        Flush();
        m_bar.SetRange(lower, upper);
    }
    void Flush()
    {
        if (m_hasPending)
            m_bar.SetPos(m_pending);
        m_hasPending = false;
    }
    void Discard() { m_hasPending = false; }

private:
    CProgressCtrl& m_bar;
    int m_pending = 0;
    bool m_hasPending = false;
};
