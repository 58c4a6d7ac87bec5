#include "platform/system.h"

#include <windows.h>

#include <string>

namespace platform {

bool GetCurrentDir(char* buf, std::size_t size)
{
    // Read wide and spelled exactly: a look-alike would name another folder.
    std::wstring wide(GetCurrentDirectoryW(0, nullptr), L'\0');
    DWORD n = wide.empty() ? 0 : GetCurrentDirectoryW(static_cast<DWORD>(wide.size()), &wide[0]);
    if (n == 0 || n >= wide.size())
        return false;
    BOOL usedDefault = FALSE;
    int bytes =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, buf, static_cast<int>(size), nullptr, &usedDefault);
    return bytes > 0 && !usedDefault;
}

bool GetFileReadOnly(const char* path, bool* readOnly)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    *readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return true;
}

long ReplaceFileWith(const char* from, const char* to)
{
    // Virus scanners and indexers hold files open briefly: retry for about half a second.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 0;
        DWORD error = GetLastError();
        bool transient = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
        if (!transient || attempt >= 10)
            return static_cast<long>(error);
        Sleep(50);
    }
}

bool RemoveFile(const char* path)
{
    return DeleteFileA(path) != 0;
}

long AccessDeniedError()
{
    return ERROR_ACCESS_DENIED;
}
long NameTooLongError()
{
    return ERROR_FILENAME_EXCED_RANGE;
}

}  // namespace platform
