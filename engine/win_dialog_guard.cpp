#include "engine/win_dialog_guard.h"

CDialogsRefused::CDialogsRefused() : m_hook(::SetWindowsHookExW(WH_CBT, &CDialogsRefused::Hook, nullptr, ::GetCurrentThreadId()))
{}

CDialogsRefused::~CDialogsRefused()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
}

LRESULT CALLBACK CDialogsRefused::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        wchar_t name[16] = L"";
        ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
        if (::lstrcmpW(name, L"#32770") == 0)
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
