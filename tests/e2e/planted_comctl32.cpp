// A comctl32.dll as an attacker would plant it beside an exe: loaded, it
// leaves planted.marker beside itself. It exports what an importer of the
// common controls asks for, so that a loader that finds it does load it.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        DWORD n = ::GetModuleFileNameW(self, path, MAX_PATH);
        std::wstring marker(path, n < MAX_PATH ? n : 0);
        marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"planted.marker";
        HANDLE h = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}
extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*)
{
    return TRUE;
}
