#include "platform/win/win_app.h"

#include <commctrl.h>
#include <objbase.h>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp()
{
    g_app = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::OnCommand(UINT)
{
    return false;
}

void CWinApp::OnHelp()
{
    ::MessageBeep(MB_OK);
}

// The program's entry: common controls for the progress bar, COM for the
// folder browser, then the application's InitInstance.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CWinApp* app = AfxGetApp();
    if (app) {
        app->m_hInstance = instance;
        // A dialog-based program does all its work inside InitInstance.
        app->InitInstance();
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}
