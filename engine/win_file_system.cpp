#include "engine/win_file_system.h"

#include <shellapi.h>

#include <cstring>

#include "engine/search_logic.h"
#include "platform/win/wide_text.h"

namespace {

// The longest path the system takes, and the two zero characters that end
// the shell's list of names. Longer paths are refused, never cut.
const size_t RECYCLE_PATH_MAX = 32767;
wchar_t g_recycleSource[RECYCLE_PATH_MAX + 2];

// The path the system resolves the handle to, "\\?\C:\DIR\NAME" or
// "\\?\UNC\SERVER\SHARE\...", or empty.
std::wstring FinalPathOf(HANDLE handle)
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = ::GetFinalPathNameByHandleW(handle, buffer, MAX_PATH + 1, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0)
        return std::wstring();
    if (n <= MAX_PATH)
        return std::wstring(buffer, n);
    std::wstring path(n, L'\0');
    n = ::GetFinalPathNameByHandleW(handle, &path[0], n, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    path.resize(n < path.size() ? n : 0);
    return path;
}

}  // namespace

std::wstring CWinFileSystem::ExactFormOf(const CString& text) const
{
    return WideFromAnsi(text);
}

bool CWinFileSystem::EnterDirectory(const std::wstring& exactDir)
{
    // The system's limit for a current directory, MAX_PATH with the closing
    // separator and the terminator, also where it would take a longer one:
    // what cannot be entered there is skipped everywhere.
    size_t length = exactDir.size() - (!exactDir.empty() && exactDir.back() == L'\\' ? 1 : 0);
    if (length > MAX_PATH - 2)
        return false;
    return ::SetCurrentDirectoryW(exactDir.c_str()) != 0;
}

void CWinFileSystem::Enumerate(const std::wstring& pattern, const Visitor& visit)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    // The name as the "A" functions spell it: at most two bytes a character.
    char name[2 * MAX_PATH + 1];
    do {
        if (!::WideCharToMultiByte(CP_ACP, 0, data.cFileName, -1, name, sizeof name, nullptr, nullptr))
            name[0] = '\0';
        const Entry entry = {name, data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                             (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
        if (!visit(entry))
            break;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

bool CListedFileDeleter::IsFoundThere(HANDLE file, const std::wstring& path)
{
    // The directory keeps its separator, so that a root stays a root.
    size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos || cut + 1 == path.size())
        return false;
    std::wstring dir = path.substr(0, cut + 1);
    if (dir != m_strDir || m_strDirFinal.empty()) {
        m_strDir = dir;
        m_strDirFinal.clear();
        HANDLE handle = ::CreateFileW(dir.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        m_strDirFinal = FinalPathOf(handle);
        ::CloseHandle(handle);
        if (m_strDirFinal.empty())
            return false;
    }
    const std::wstring fileFinal = FinalPathOf(file);
    return !fileFinal.empty() && fileFinal == JoinExactPath(m_strDirFinal, path.c_str() + cut + 1);
}

HANDLE CListedFileDeleter::OpenListedFile(const std::wstring& path)
{
    // Opened as what the path leads to (a link is followed), so that the
    // final path tells a link from the file itself. Without backup semantics
    // a directory is not opened at all.
    HANDLE file =
        ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    if (!IsFoundThere(file, path)) {
        ::CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool CListedFileDeleter::DeletePermanently(const std::wstring& path)
{
    HANDLE file = OpenListedFile(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A read-only file is refused here, as by DeleteFile.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    bool deleted = ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
    ::CloseHandle(file);
    return deleted;
}

bool CListedFileDeleter::MoveToRecycleBin(const std::wstring& path, HWND owner)
{
    if (path.size() > RECYCLE_PATH_MAX)
        return false;
    // The shell takes a path, not a handle: the check comes right before.
    HANDLE file = OpenListedFile(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    std::memcpy(g_recycleSource, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    g_recycleSource[path.size() + 1] = L'\0';

    SHFILEOPSTRUCTW op = {};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = g_recycleSource;
    op.pTo = nullptr;
    // FOF_WANTNUKEWARNING: a file the Recycle Bin cannot take is not
    // destroyed without the user's consent.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_WANTNUKEWARNING;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}
