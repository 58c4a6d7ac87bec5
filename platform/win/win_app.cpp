#include "platform/win/win_app.h"

#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "platform/win/ui_seam.h"

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

void platform::RestrictDllSearch()
{
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    auto set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set)
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool platform::LoadCommonControls(DWORD classes)
{
    HMODULE module = ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        // A system without the search flags: the full path of the system's
        // copy. The system directory lies within MAX_PATH on every Windows.
        wchar_t dir[MAX_PATH];
        UINT n = ::GetSystemDirectoryW(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return false;
        module = ::LoadLibraryW((std::wstring(dir, n) + L"\\comctl32.dll").c_str());
    }
    if (!module)
        return false;
    using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitControls>(reinterpret_cast<void*>(::GetProcAddress(module, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX icc = {sizeof icc, classes};
    return init && init(&icc);
}

// The program's entry: DLL searches restricted first, then the common
// controls for the progress bar, COM for the folder browser, then the
// application's InitInstance.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    platform::RestrictDllSearch();
    if (!platform::LoadCommonControls(ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES)) {
        platform::ShowMessageBox(nullptr, "コモンコントロールを読み込めないため、起動できません", platform::kErrorCaption,
                                 MB_OK | MB_ICONSTOP);
        return 1;
    }
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
