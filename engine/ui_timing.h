// The message drain of the long-running loops and the suspended drawing of
// a list that fills fast. Draining costs a round trip to the window system
// each time, so the loops drain at most every DRAIN_INTERVAL_MS, and a list
// whose drawing is suspended is shown again at least every REDRAW_INTERVAL_MS.
#pragma once

#include <windows.h>

#include "platform/cstring.h"
#include "platform/win/list_box.h"

const DWORD DRAIN_INTERVAL_MS = 10;
const DWORD REDRAW_INTERVAL_MS = 100;

// True (and `last` set to now) when the next drain is due.
bool DrainDue(DWORD& last);
bool RedrawDue(DWORD& last);

// Dispatches every queued message of the thread, without waiting and without
// any window's dialog keyboard handling.
void DrainMessageQueue();

void SuspendRedraw(CListBox& list);
void ResumeRedraw(CListBox& list);
// Lets the horizontal scroll bar reach the end of `widest`.
void FitHorizontalExtent(CListBox& list, const char* widest);
