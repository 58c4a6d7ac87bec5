#include "engine/win_file_system.h"

#include <shellapi.h>

#include <cstring>

namespace {

// The longest path the system takes, and the two zero bytes that end the
// shell's list of names. Longer paths are refused, never cut.
const int RECYCLE_PATH_MAX = 32767;
char g_recycleSource[RECYCLE_PATH_MAX + 2];

// What was listed is what may be deleted: a path that is now a directory, or
// gone, is not handed to the shell (it would take a whole tree).
bool IsPlainFile(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool CWinFileSystem::EnterDirectory(const CString& dir)
{
    return ::SetCurrentDirectoryA(dir) != 0;
}

void CWinFileSystem::Enumerate(const char* pattern, const Visitor& visit)
{
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const Entry entry = {data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                             (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
        if (!visit(entry))
            break;
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

bool DeleteFilePermanently(const char* path)
{
    // DeleteFileA takes files only.
    return ::DeleteFileA(path) != 0;
}

bool MoveToRecycleBin(const CString& path, HWND owner)
{
    if (!IsPlainFile(path) || path.GetLength() > RECYCLE_PATH_MAX)
        return false;
    std::memcpy(g_recycleSource, path.GetString(), static_cast<size_t>(path.GetLength()) + 1);
    g_recycleSource[path.GetLength() + 1] = '\0';

    SHFILEOPSTRUCTA op = {};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = g_recycleSource;
    op.pTo = nullptr;
    // FOF_WANTNUKEWARNING: a file the Recycle Bin cannot take is not
    // destroyed without the user's consent.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_WANTNUKEWARNING;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    return ::SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}
