#pragma once

#include "platform/win/wnd.h"

// Push buttons and check boxes. Check states stay int: BST_UNCHECKED,
// BST_CHECKED, BST_INDETERMINATE.
class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};
