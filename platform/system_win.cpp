#include "platform/system.h"

#include <windows.h>

namespace platform {

bool GetCurrentDir(char* buf, std::size_t size)
{
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(size), buf);
    return n != 0 && n < size;
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

long AccessDeniedError() { return ERROR_ACCESS_DENIED; }
long NameTooLongError() { return ERROR_FILENAME_EXCED_RANGE; }

}  // namespace platform
