#include "engine/win_file_system.h"

#include <shellapi.h>

#include "engine/search_logic.h"
#include "platform/win/handles.h"
#include "platform/win/wide_text.h"

namespace {

// The longest path the system takes. Longer paths are refused, never cut.
const size_t LONGEST_PATH = 32767;

// The path the system resolves the handle to, "\\?\C:\DIR\NAME" or
// "\\?\UNC\SERVER\SHARE\...", or empty. The DOS form costs least under Wine.
std::wstring FinalPathOfHandle(HANDLE handle)
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

// The system's limit for a current directory, MAX_PATH with the closing
// separator and the terminator, also where it would take a longer one: what
// cannot be entered there is skipped everywhere.
bool IsEnterable(const std::wstring& exactDir)
{
    const size_t length = exactDir.size() - (!exactDir.empty() && exactDir.back() == L'\\' ? 1 : 0);
    return !exactDir.empty() && length <= MAX_PATH - 2;
}

// One folder's entries from a find handle, which it closes.
class CFindListing : public WalkFileSystem::Listing {
public:
    // `find` has read `first`; INVALID_HANDLE_VALUE for a folder without entries.
    CFindListing(HANDLE find, const WIN32_FIND_DATAW& first)
        : m_find(find), m_data(first), m_bPending(find != INVALID_HANDLE_VALUE)
    {}

    bool Next(WalkFileSystem::Entry& entry) override
    {
        if (m_bPending) {
            m_bPending = false;
        } else if (!m_find.IsValid() || !::FindNextFileW(m_find.Get(), &m_data)) {
            m_bError = m_find.IsValid() && ::GetLastError() != ERROR_NO_MORE_FILES;
            return false;
        }
        const bool reparse = (m_data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry = {m_data.cFileName, (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, reparse,
                 reparse ? static_cast<std::uint32_t>(m_data.dwReserved0) : 0u};
        return true;
    }
    bool EndedInError() const override { return m_bError; }

private:
    CFindHandle m_find;
    WIN32_FIND_DATAW m_data;
    bool m_bPending;
    bool m_bError = false;
};

// While it lives, no dialog box can be created on this thread: each one the
// shell would open fails to appear, which the shell takes as "no".
class CDialogsRefused {
public:
    CDialogsRefused() : m_hook(::SetWindowsHookExW(WH_CBT, &CDialogsRefused::Hook, nullptr, ::GetCurrentThreadId())) {}
    ~CDialogsRefused()
    {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
    }
    CDialogsRefused(const CDialogsRefused&) = delete;
    CDialogsRefused& operator=(const CDialogsRefused&) = delete;
    bool IsActive() const { return m_hook != nullptr; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            wchar_t name[16] = L"";
            ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
            if (::lstrcmpW(name, L"#32770") == 0)
                return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};

}  // namespace

std::wstring CWinFileSystem::ExactFormOf(const CString& text) const
{
    return WideFromAnsi(text);
}

CString CWinFileSystem::SpellingOf(const wchar_t* exactName) const
{
    return AnsiFromWide(exactName);
}

std::unique_ptr<WalkFileSystem::Listing> CWinFileSystem::List(const std::wstring& exactDir)
{
    if (!IsEnterable(exactDir))
        return nullptr;
    // By the path the user gave: a final path names the folder as the system
    // saw it a moment ago, which under Wine can already name another.
    const std::wstring pattern = JoinExactPath(exactDir, L"*");
    WIN32_FIND_DATAW data;
    // Without short names, and in large batches, where the system offers both.
    HANDLE find =
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_INVALID_PARAMETER)
        find = ::FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        // A folder without a single entry (a drive's empty root) is entered.
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(exactDir.c_str());
        if ((error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) || attributes == INVALID_FILE_ATTRIBUTES ||
            !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return nullptr;
    }
    return std::unique_ptr<Listing>(new CFindListing(find, data));
}

std::wstring CWinFileSystem::FinalPathOf(const std::wstring& exactDir)
{
    CFileHandle dir(::CreateFileW(exactDir.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return dir.IsValid() ? FinalPathOfHandle(dir.Get()) : std::wstring();
}

bool CWinFileSystem::EnterDirectory(const std::wstring& exactDir)
{
    return IsEnterable(exactDir) && ::SetCurrentDirectoryW(exactDir.c_str()) != 0;
}

HANDLE CListedFileDeleter::OpenListedFile(const std::wstring& path, const std::wstring& finalPath)
{
    if (finalPath.empty())
        return INVALID_HANDLE_VALUE;
    // Opened as what the path leads to (a link is followed), so that the
    // final path tells a link, or a folder swapped for one, from the file
    // itself. Without backup semantics a directory is not opened at all.
    CFileHandle file(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid() || FinalPathOfHandle(file.Get()) != finalPath)
        return INVALID_HANDLE_VALUE;
    return file.Release();
}

bool CListedFileDeleter::DeletePermanently(const std::wstring& path, const std::wstring& finalPath)
{
    CFileHandle file(OpenListedFile(path, finalPath));
    if (!file.IsValid())
        return false;
    // A read-only file is refused here, as by DeleteFile.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool CListedFileDeleter::MoveToRecycleBinUnattended(const std::wstring& path, const std::wstring& finalPath)
{
    // Without the refusal in place, nothing is moved: the shell could ask.
    CDialogsRefused refused;
    return refused.IsActive() && MoveToRecycleBin(path, finalPath, nullptr);
}

bool CListedFileDeleter::MoveToRecycleBin(const std::wstring& path, const std::wstring& finalPath, HWND owner)
{
    if (path.size() > LONGEST_PATH)
        return false;
    // The shell takes a path, not a handle: the check comes right before.
    {
        CFileHandle file(OpenListedFile(path, finalPath));
        if (!file.IsValid())
            return false;
    }
    // The shell's list of names: this one, then an empty one.
    std::wstring source = path;
    source += L'\0';

    SHFILEOPSTRUCTW op = {};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = source.c_str();
    op.pTo = nullptr;
    // FOF_WANTNUKEWARNING: a file the Recycle Bin cannot take is not
    // destroyed without the user's consent.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_WANTNUKEWARNING;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}
