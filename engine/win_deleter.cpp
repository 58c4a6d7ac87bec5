#include "engine/win_deleter.h"

#include <shellapi.h>

#include "engine/paths.h"
#include "engine/win_dialog_guard.h"
#include "engine/win_handle_names.h"
#include "platform/win/handles.h"

namespace {

// A folder that is not empty for a moment is tried again this many times,
// after waits that double from the first.
const int FOLDER_RETRIES = 4;
const DWORD FIRST_RETRY_MS = 20;

std::uint64_t Unsigned(const LARGE_INTEGER& value)
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

DeleteOutcome Done()
{
    return {DeleteFault::None, 0};
}

// The outcome of the system call that just failed.
DeleteOutcome LastError()
{
    const DWORD error = ::GetLastError();
    return {FaultOfError(error), error};
}

// Deletes what `opened` holds, as it closes; the system refuses a read-only
// file and a folder that is not empty.
DeleteOutcome DeleteThrough(HANDLE opened)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(opened, FileDispositionInfo, &disposition, sizeof disposition) ? Done() : LastError();
}

bool IsKnownFileId(std::uint64_t id)
{
    return id != 0 && id != ~std::uint64_t(0);
}

// The verdict on what was opened at a found file's path, where it is not the
// listed file itself: its namesake reached under its name is a link too.
HANDLE Accepted(const CFoundFile& file, FileVerdict verdict, CFileHandle& opened, std::uint64_t id, DeleteOutcome& outcome)
{
    switch (verdict) {
    case FileVerdict::Listed:
        outcome = Done();
        return opened.Release();
    case FileVerdict::AskNamesake: {
        // The name came back without its closing dots or spaces: the file
        // must not be its namesake reached under this name (by a link).
        const std::wstring namesake = NamesakeOf(file.Verbatim());
        CFileHandle other(::CreateFileW(namesake.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (other.IsValid() && FileIdOf(other.Get()) == id) {
            outcome = {DeleteFault::Link, 0};
            return INVALID_HANDLE_VALUE;
        }
        outcome = Done();
        return opened.Release();
    }
    case FileVerdict::Elsewhere:
        outcome = {DeleteFault::Link, 0};
        break;
    case FileVerdict::Other:
        outcome = {DeleteFault::Changed, 0};
        break;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

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

HANDLE CListedFileDeleter::OpenListedFile(const CFoundFile& file, DeleteOutcome& outcome) const
{
    const std::wstring path = file.Verbatim();
    if (path.empty() || path.size() >= LONGEST_PATH) {
        outcome = {DeleteFault::Other, ERROR_FILENAME_EXCED_RANGE};
        return INVALID_HANDLE_VALUE;
    }
    // Opened as what the path leads to (a link is followed), so that the
    // name the system reports tells a link, or a folder swapped for one, from
    // the file itself. Without backup semantics a folder is not opened at all.
    CFileHandle opened(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.IsValid()) {
        outcome = LastError();
        return INVALID_HANDLE_VALUE;
    }
    // Asked only where the names cannot decide alone: under Wine, the first
    // question about a new handle that needs its file costs a round trip.
    const std::uint64_t id = file.NeedsId() ? FileIdOf(opened.Get()) : 0;
    const ReportedName reported = ReportedNameOfHandle(opened.Get());
    // A file that no longer passes the filter (written since it was listed)
    // is kept, whatever it is.
    if (m_filter && !StillPasses(opened.Get())) {
        outcome = {DeleteFault::Changed, 0};
        return INVALID_HANDLE_VALUE;
    }
    return Accepted(file, file.Judge(id, reported), opened, id, outcome);
}

HANDLE CListedFileDeleter::OpenListedFolder(const CFoundFile& folder, DeleteOutcome& outcome) const
{
    const std::wstring path = folder.Verbatim();
    if (path.empty() || path.size() >= LONGEST_PATH) {
        outcome = {DeleteFault::Other, ERROR_FILENAME_EXCED_RANGE};
        return INVALID_HANDLE_VALUE;
    }
    // The folder itself, never what it may lead to.
    CFileHandle opened(OpenFolder(path, DELETE | FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT));
    FILE_BASIC_INFO basic;
    if (!opened.IsValid() || !::GetFileInformationByHandleEx(opened.Get(), FileBasicInfo, &basic, sizeof basic)) {
        outcome = LastError();
        return INVALID_HANDLE_VALUE;
    }
    if (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        outcome = {DeleteFault::Link, 0};
        return INVALID_HANDLE_VALUE;
    }
    // Its id is always asked: folders are few beside their files.
    const std::uint64_t id = FileIdOf(opened.Get());
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (IsKnownFileId(folder.FileId()) && id != folder.FileId())) {
        outcome = {DeleteFault::Changed, 0};
        return INVALID_HANDLE_VALUE;
    }
    return Accepted(folder, folder.Judge(id, ReportedNameOfHandle(opened.Get())), opened, id, outcome);
}

DeleteOutcome CListedFileDeleter::DeletePermanently(const CFoundFile& file)
{
    DeleteOutcome outcome;
    CFileHandle opened(OpenListedFile(file, outcome));
    if (!opened.IsValid())
        return outcome;
    return DeleteThrough(opened.Get());
}

DeleteOutcome CListedFileDeleter::RemoveEmptiedFolder(const CFoundFile& folder)
{
    DWORD wait = FIRST_RETRY_MS;
    for (int attempt = 0;; ++attempt) {
        DeleteOutcome outcome;
        {
            CFileHandle opened(OpenListedFolder(folder, outcome));
            if (!opened.IsValid())
                return outcome;
            outcome = DeleteThrough(opened.Get());
        }
        // It goes as its handle closes: only a folder no longer there counts as removed.
        if (outcome.Deleted() && ::GetFileAttributesW(folder.Verbatim().c_str()) != INVALID_FILE_ATTRIBUTES)
            outcome = {DeleteFault::NotEmpty, ERROR_DIR_NOT_EMPTY};
        if (outcome.fault != DeleteFault::NotEmpty || attempt == FOLDER_RETRIES)
            return outcome;
        ::Sleep(wait);
        wait *= 2;
    }
}

DeleteOutcome CListedFileDeleter::MoveToRecycleBinUnattended(const CFoundFile& file)
{
    // Without the refusal in place, nothing is moved: the shell could ask.
    CDialogsRefused refused;
    if (!refused.IsActive())
        return LastError();
    return MoveToRecycleBin(file, nullptr);
}

DeleteOutcome CListedFileDeleter::MoveToRecycleBin(const CFoundFile& file, HWND owner)
{
    // The shell is given the plain path only where that names this very
    // file; otherwise the bin is not tried, and nothing is deleted instead.
    const std::wstring plain = PlainFormOf(file.Verbatim());
    if (RecycleBinFault(plain) != PlainPathFault::None)
        return {DeleteFault::RecycleBin, 0};
    // The shell takes a path, not a handle: the check comes right before.
    {
        DeleteOutcome outcome;
        CFileHandle opened(OpenListedFile(file, outcome));
        if (!opened.IsValid())
            return outcome;
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
    const int result = ::SHFileOperationW(&op);
    if (result == 0 && !op.fAnyOperationsAborted)
        return Done();
    // The shell's own codes mostly are not the system's; those that are say more.
    const DeleteFault fault = result == 0 ? DeleteFault::RecycleBin : FaultOfError(static_cast<std::uint32_t>(result));
    return {fault == DeleteFault::Other ? DeleteFault::RecycleBin : fault, static_cast<std::uint32_t>(result)};
}
