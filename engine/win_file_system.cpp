#include "engine/win_file_system.h"

#include <shellapi.h>
#include <winternl.h>

#include <memory>

#include "engine/paths.h"
#include "platform/win/handles.h"
#include "platform/win/wide_text.h"

namespace {

// The longest path the system takes, with its terminator. Longer paths are
// refused, never cut.
const size_t LONGEST_PATH = 32767;

// Each folder is read in batches of this many bytes.
const DWORD LISTING_BATCH_BYTES = 64 * 1024;

const DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The characters a path the system reports is first read into: nearly every
// one fits, and a longer one is read again at its own length.
const DWORD FIRST_READ_CHARS = 1024;

// The final path of an open file or folder, links followed: "\\?\C:\DIR\NAME"
// or "\\?\UNC\SERVER\SHARE\...", or empty. The DOS form costs least under
// Wine, which gives none beyond MAX_PATH.
std::wstring FinalPathOfHandle(HANDLE handle)
{
    wchar_t buffer[FIRST_READ_CHARS];
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD n = ::GetFinalPathNameByHandleW(handle, buffer, FIRST_READ_CHARS, flags);
    if (n == 0)
        return std::wstring();
    if (n < FIRST_READ_CHARS)
        return std::wstring(buffer, n);
    std::wstring path(n, L'\0');
    n = ::GetFinalPathNameByHandleW(handle, &path[0], n, flags);
    path.resize(n < path.size() ? n : 0);
    return path;
}

// The path of an open file or folder from the root of its volume
// ("\DIR\NAME"), links followed, or empty; there at any length.
std::wstring PathOnVolumeOfHandle(HANDLE handle)
{
    // The longest a path can be fits the second buffer.
    struct {
        FILE_NAME_INFO info;
        wchar_t rest[FIRST_READ_CHARS];
    } small;
    if (::GetFileInformationByHandleEx(handle, FileNameInfo, &small, sizeof small))
        return std::wstring(small.info.FileName, small.info.FileNameLength / sizeof(wchar_t));
    if (::GetLastError() != ERROR_MORE_DATA)
        return std::wstring();
    const DWORD bytes = sizeof(FILE_NAME_INFO) + LONGEST_PATH * sizeof(wchar_t);
    std::unique_ptr<DWORD[]> large(new DWORD[bytes / sizeof(DWORD) + 1]);
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(large.get());
    if (!::GetFileInformationByHandleEx(handle, FileNameInfo, info, bytes))
        return std::wstring();
    return std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t));
}

// The id the file system keeps for an open file, as its listings give it, or
// 0. Asked of the system's own layer: the other ways to it also read the
// volume's serial number, which costs ten times as much under Wine.
std::uint64_t FileIdOf(HANDLE handle)
{
    using QueryInformationFile = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
    static const auto query = reinterpret_cast<QueryInformationFile>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    const ULONG FILE_INTERNAL_INFORMATION = 6;
    IO_STATUS_BLOCK status = {};
    LARGE_INTEGER id = {};
    if (!query || query(handle, &status, &id, sizeof id, FILE_INTERNAL_INFORMATION) < 0)
        return 0;
    return static_cast<std::uint64_t>(id.QuadPart);
}

std::uint64_t Unsigned(const LARGE_INTEGER& value)
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

HANDLE OpenFolder(const std::wstring& verbatimDir, DWORD access)
{
    if (verbatimDir.size() >= LONGEST_PATH)
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(verbatimDir.c_str(), access, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// One folder's entries, read in batches through its handle, which it closes.
class CFolderListing : public WalkFileSystem::Listing {
public:
    explicit CFolderListing(HANDLE folder) : m_folder(folder), m_batch(new LONGLONG[LISTING_BATCH_BYTES / sizeof(LONGLONG)]) {}

    // Reads the first batch; false when the folder cannot be listed at all.
    bool Start() { return Read() || !m_bError; }

    bool Next(WalkFileSystem::Entry& entry) override
    {
        const FILE_ID_BOTH_DIR_INFO* info = nullptr;
        do {
            if (!m_next && (m_bEnded || !Read()))
                return false;
            info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(m_next);
            m_next = info->NextEntryOffset ? m_next + info->NextEntryOffset : nullptr;
        } while (info->FileNameLength == 0);  // no entry names nothing
        m_name.assign(info->FileName, info->FileNameLength / sizeof(wchar_t));
        const bool reparse = (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        // A reparse point's tag comes where the size of its extended attributes would.
        entry = {m_name.c_str(),
                 (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                 reparse,
                 reparse ? static_cast<std::uint32_t>(info->EaSize) : 0u,
                 static_cast<std::uint64_t>(info->FileId.QuadPart),
                 {Unsigned(info->EndOfFile), Unsigned(info->LastWriteTime), Unsigned(info->CreationTime), Unsigned(info->LastAccessTime)}};
        return true;
    }
    bool EndedInError() const override { return m_bError; }

private:
    bool Read()
    {
        if (::GetFileInformationByHandleEx(m_folder.Get(), FileIdBothDirectoryInfo, m_batch.get(), LISTING_BATCH_BYTES)) {
            m_next = reinterpret_cast<const char*>(m_batch.get());
            return true;
        }
        m_bEnded = true;
        m_bError = ::GetLastError() != ERROR_NO_MORE_FILES;
        return false;
    }

    CFileHandle m_folder;
    std::unique_ptr<LONGLONG[]> m_batch;
    const char* m_next = nullptr;  // the next entry of the batch read last
    std::wstring m_name;
    bool m_bEnded = false;
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

std::unique_ptr<WalkFileSystem::Listing> CWinFileSystem::List(const std::wstring& verbatimDir)
{
    HANDLE folder = OpenFolder(verbatimDir, FILE_LIST_DIRECTORY);
    if (folder == INVALID_HANDLE_VALUE)
        return nullptr;
    // A file opens too, but lists nothing; a drive's empty root lists no entry at all.
    std::unique_ptr<CFolderListing> listing(new CFolderListing(folder));
    if (!listing->Start())
        return nullptr;
    return std::unique_ptr<Listing>(listing.release());
}

ReportedName CWinFileSystem::ReportedNameOf(const std::wstring& verbatimDir)
{
    CFileHandle folder(OpenFolder(verbatimDir, FILE_READ_ATTRIBUTES));
    if (!folder.IsValid())
        return ReportedName();
    return {FinalPathOfHandle(folder.Get()), PathOnVolumeOfHandle(folder.Get())};
}

bool CWinFileSystem::EnterDirectory(const std::wstring& plainDir)
{
    return ::SetCurrentDirectoryW(plainDir.c_str()) != 0;
}

bool CWinFileSystem::IsFolder(const std::wstring& verbatimDir)
{
    if (verbatimDir.empty() || verbatimDir.size() >= LONGEST_PATH)
        return false;
    const DWORD attributes = ::GetFileAttributesW(verbatimDir.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CListedFileDeleter::StillPasses(HANDLE opened) const
{
    // Only what the filter reads is asked, one call each.
    FileFacts facts;
    if (m_filter->UsesTime()) {
        FILE_BASIC_INFO basic;
        if (!::GetFileInformationByHandleEx(opened, FileBasicInfo, &basic, sizeof basic))
            return false;
        facts.written = Unsigned(basic.LastWriteTime);
        facts.created = Unsigned(basic.CreationTime);
        facts.accessed = Unsigned(basic.LastAccessTime);
    }
    if (m_filter->UsesSize()) {
        FILE_STANDARD_INFO standard;
        if (!::GetFileInformationByHandleEx(opened, FileStandardInfo, &standard, sizeof standard))
            return false;
        facts.size = Unsigned(standard.EndOfFile);
    }
    return m_filter->Takes(facts);
}

HANDLE CListedFileDeleter::OpenListedFile(const CFoundFile& file) const
{
    const std::wstring path = file.Verbatim();
    if (path.empty() || path.size() >= LONGEST_PATH)
        return INVALID_HANDLE_VALUE;
    // Opened as what the path leads to (a link is followed), so that the
    // name the system reports tells a link, or a folder swapped for one, from
    // the file itself. Without backup semantics a folder is not opened at all.
    CFileHandle opened(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.IsValid())
        return INVALID_HANDLE_VALUE;
    // Asked only where the names cannot decide alone: under Wine, the first
    // question about a new handle that needs its file costs a round trip.
    const std::uint64_t id = file.NeedsId() ? FileIdOf(opened.Get()) : 0;
    // The path on the volume costs more: it is asked only where no final path comes.
    ReportedName reported{FinalPathOfHandle(opened.Get()), std::wstring()};
    if (reported.finalPath.empty())
        reported.onVolume = PathOnVolumeOfHandle(opened.Get());
    // A file that no longer passes the filter (written since it was listed)
    // is kept, whatever it is.
    if (m_filter && !StillPasses(opened.Get()))
        return INVALID_HANDLE_VALUE;
    switch (file.Judge(id, reported)) {
    case FileVerdict::Listed:
        return opened.Release();
    case FileVerdict::AskNamesake: {
        // The name came back without its closing dots or spaces: the file
        // must not be its namesake reached under this name (by a link).
        const std::wstring namesake = NamesakeOf(path);
        CFileHandle other(::CreateFileW(namesake.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (other.IsValid() && FileIdOf(other.Get()) == id)
            return INVALID_HANDLE_VALUE;
        return opened.Release();
    }
    case FileVerdict::Other:
        break;
    }
    return INVALID_HANDLE_VALUE;
}

bool CListedFileDeleter::DeletePermanently(const CFoundFile& file)
{
    CFileHandle opened(OpenListedFile(file));
    if (!opened.IsValid())
        return false;
    // A read-only file is refused here, as by DeleteFile.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(opened.Get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool CListedFileDeleter::MoveToRecycleBinUnattended(const CFoundFile& file)
{
    // Without the refusal in place, nothing is moved: the shell could ask.
    CDialogsRefused refused;
    return refused.IsActive() && MoveToRecycleBin(file, nullptr);
}

bool CListedFileDeleter::MoveToRecycleBin(const CFoundFile& file, HWND owner)
{
    // The shell is given the plain path only where that names this very
    // file; otherwise the bin is not tried, and nothing is deleted instead.
    const std::wstring plain = PlainFormOf(file.Verbatim());
    if (RecycleBinFault(plain) != PlainPathFault::None)
        return false;
    // The shell takes a path, not a handle: the check comes right before.
    {
        CFileHandle opened(OpenListedFile(file));
        if (!opened.IsValid())
            return false;
    }
    // The shell's list of names: this one, then an empty one.
    std::wstring source = plain;
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
