#pragma once

#include "platform/win/wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    // PBM_SETRANGE: the minimum in the low word of lParam, the maximum in the high word.
    void SetRange(int lower, int upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
};
