#include "engine/win_handle_names.h"

#include <winternl.h>

#include <memory>

namespace {

// The characters a path the system reports is first read into: nearly every
// one fits, and a longer one is read again at its own length.
const DWORD FIRST_READ_CHARS = 1024;

}  // namespace

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

ReportedName ReportedNameOfHandle(HANDLE handle)
{
    ReportedName reported{FinalPathOfHandle(handle), std::wstring()};
    if (reported.finalPath.empty())
        reported.onVolume = PathOnVolumeOfHandle(handle);
    return reported;
}

std::uint64_t FileIdOf(HANDLE handle)
{
    // Asked of the system's own layer: the other ways to it also read the
    // volume's serial number, which costs ten times as much under Wine.
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

HANDLE OpenFolder(const std::wstring& verbatimDir, DWORD access, DWORD flags)
{
    if (verbatimDir.size() >= LONGEST_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(verbatimDir.c_str(), access, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags,
                         nullptr);
}

bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION x, y;
    if (::GetFileInformationByHandle(a, &x) && ::GetFileInformationByHandle(b, &y)) {
        return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
               x.nFileIndexLow == y.nFileIndexLow;
    }
    // Wine tells nothing of a standard handle a host's redirection made but its id.
    const std::uint64_t id = FileIdOf(a);
    return id != 0 && id == FileIdOf(b);
}
