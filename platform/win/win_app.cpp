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

CWinApp::CWinApp(const char* appName)
{
    g_app = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    if (appName) {
        m_strAppName = appName;
    } else {
        // The module's name without its folder and extension.
        char path[MAX_PATH];
        DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        path[n < MAX_PATH ? n : MAX_PATH - 1] = '\0';
        char* name = path;
        for (char* p = path; *p; p = ::CharNextA(p)) {
            if (*p == '\\')
                name = p + 1;
        }
        for (char* p = name; *p; p = ::CharNextA(p)) {
            if (*p == '.') {
                *p = '\0';
                break;
            }
        }
        m_strAppName = name;
    }
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
