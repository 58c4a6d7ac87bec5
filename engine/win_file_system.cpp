#include "engine/win_file_system.h"

#include <memory>

#include "engine/paths.h"
#include "engine/win_handle_names.h"
#include "platform/win/handles.h"
#include "platform/win/wide_text.h"

namespace {

// Each folder is read in batches of this many bytes.
const DWORD LISTING_BATCH_BYTES = 64 * 1024;

std::uint64_t Unsigned(const LARGE_INTEGER& value)
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

// One folder's entries, read in batches through its handle, which it closes.
class CFolderListing : public WalkFileSystem::Listing {
public:
    explicit CFolderListing(HANDLE folder) : m_folder(folder), m_batch(new LONGLONG[LISTING_BATCH_BYTES / sizeof(LONGLONG)]) {}

    // Reads the first batch; the system's error when the folder cannot be
    // listed at all, else 0. A drive's empty root lists no entry at all.
    std::uint32_t Start()
    {
        if (Read() || m_error == 0)
            return 0;
        // A file opens too, but lists nothing.
        FILE_BASIC_INFO basic;
        if (::GetFileInformationByHandleEx(m_folder.Get(), FileBasicInfo, &basic, sizeof basic) &&
            !(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return WALK_ERROR_DIRECTORY;
        return m_error;
    }

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
    std::uint32_t Error() const override { return m_error; }

private:
    bool Read()
    {
        if (::GetFileInformationByHandleEx(m_folder.Get(), FileIdBothDirectoryInfo, m_batch.get(), LISTING_BATCH_BYTES)) {
            m_next = reinterpret_cast<const char*>(m_batch.get());
            return true;
        }
        m_bEnded = true;
        const DWORD error = ::GetLastError();
        m_error = error == ERROR_NO_MORE_FILES ? 0 : error;
        return false;
    }

    CFileHandle m_folder;
    std::unique_ptr<LONGLONG[]> m_batch;
    const char* m_next = nullptr;  // the next entry of the batch read last
    std::wstring m_name;
    bool m_bEnded = false;
    std::uint32_t m_error = 0;
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

std::unique_ptr<WalkFileSystem::Listing> CWinFileSystem::List(const std::wstring& verbatimDir, std::uint32_t& error)
{
    HANDLE folder = OpenFolder(verbatimDir, FILE_LIST_DIRECTORY);
    if (folder == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return nullptr;
    }
    std::unique_ptr<CFolderListing> listing(new CFolderListing(folder));
    if ((error = listing->Start()) != 0)
        return nullptr;
    return std::unique_ptr<Listing>(listing.release());
}

ReportedName CWinFileSystem::ReportedNameOf(const std::wstring& verbatimDir)
{
    // Both forms: a file below is compared in whichever form it reports.
    CFileHandle folder(OpenFolder(verbatimDir, FILE_READ_ATTRIBUTES));
    if (!folder.IsValid())
        return ReportedName();
    return {FinalPathOfHandle(folder.Get()), PathOnVolumeOfHandle(folder.Get())};
}

bool CWinFileSystem::IsVolumeMountPoint(const std::wstring& verbatimDir)
{
    // The system names the folder that holds the path's volume: the folder
    // itself where a volume is mounted there.
    std::wstring volume(verbatimDir.size() + 2, L'\0');
    if (!::GetVolumePathNameW(verbatimDir.c_str(), &volume[0], static_cast<DWORD>(volume.size())))
        return false;
    volume.resize(volume.find(L'\0'));
    std::wstring dir = verbatimDir;
    if (dir.empty() || dir.back() != L'\\')
        dir += L'\\';
    return volume == dir || volume == PlainFormOf(dir);
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
