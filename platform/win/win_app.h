// The application object: the program's entry calls InitInstance of the one
// global instance, and the program ends when it returns FALSE.
#pragma once

#include "platform/win/wnd.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    // The three-dimensional look is the system's own today.
    BOOL Enable3dControls() { return TRUE; }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
};

CWinApp* AfxGetApp();

namespace platform {
// Later DLL searches go to the system directory only (where the system has
// the call), so that no DLL beside the exe is ever loaded in its place.
void RestrictDllSearch();
// The common controls, loaded from the system directory and initialised for
// `classes`; false when they cannot be. They are no static import: one in
// the exe's own folder would be found first.
bool LoadCommonControls(DWORD classes);
}  // namespace platform
