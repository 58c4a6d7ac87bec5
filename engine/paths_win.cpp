// The forms of a path that only the system can make.
#include <windows.h>

#include "engine/paths.h"

std::wstring FullPathOf(const std::wstring& path)
{
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    if (n == 0 || ::GetFullPathNameW(path.c_str(), n, &full[0], nullptr) >= n)
        return std::wstring();
    full.resize(n - 1);
    return full;
}
