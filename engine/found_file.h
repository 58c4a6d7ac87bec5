// What the search found of one file, carried from the walk to the delete:
// the line the user sees, the verbatim path every call takes, and what the
// check before a delete compares.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/file_filter.h"

// The names the system reports for an open file or folder, links followed.
struct ReportedName {
    std::wstring finalPath;  // "\\?\C:\DIR\NAME", "\\?\UNC\SERVER\SHARE\..."
    std::wstring onVolume;   // "\DIR\NAME" from the root of its volume, at any length
};

// The file the system reports as `file` is the one named `name` in the
// folder it reports as `folder`: the same folder in the same form, the same
// name but for case.
bool IsReportedAt(const ReportedName& file, const ReportedName& folder, const std::wstring& name);

// One stored directory as a search took it, shared by the files found below it.
struct CSearchRoot {
    std::wstring shown;     // the user's form, exact: as stored, a relative one taken from its base
    std::wstring verbatim;  // its verbatim form (engine/paths.h)
    ReportedName reported;  // as the system reported it when the search began, in both forms
};

// What the check before a delete makes of the file it opened at a found
// file's verbatim path.
enum class FileVerdict {
    Listed,       // the file the search listed
    Elsewhere,    // reached at another name: a link, or a folder on the way swapped for one
    Other,        // another file, or one the system cannot tell from another
    AskNamesake,  // the listed file unless its namesake (NamesakeOf) is this same file
};

class CFoundFile {
public:
    CFoundFile() = default;
    // `below` holds the names below the stored directory, the file's last,
    // exactly as the listings gave them; `fileId` and `facts` are what the
    // listing gave for it.
    CFoundFile(std::shared_ptr<const CSearchRoot> root, std::wstring below, std::uint64_t fileId, const FileFacts& facts = {})
        : m_root(std::move(root)), m_below(std::move(below)), m_fileId(fileId), m_facts(facts)
    {}

    // What the user sees: the stored directory as stored, then the names.
    std::wstring Shown() const;
    // What every file-system call takes.
    std::wstring Verbatim() const;
    // Its size and times as the search listed them.
    const FileFacts& Facts() const { return m_facts; }
    // The id its listing gave it.
    std::uint64_t FileId() const { return m_fileId; }

    // A name on its path ends in a dot or a space: a system may report it
    // without them, as its namesake's, and only the file's id tells them apart.
    bool NeedsId() const;

    // The check before a delete, on the file the system opened at
    // Verbatim() (links followed): the name the system reports for it, its
    // final path or, where it gives none, its path on its volume, must be the
    // one the walk went through, below the stored directory's in the same
    // form. Where NeedsId(), its id (asked only then) must also be the listed
    // one, and its namesake must be another file.
    FileVerdict Judge(std::uint64_t openedId, const ReportedName& reported) const;

private:
    std::shared_ptr<const CSearchRoot> m_root;
    std::wstring m_below;
    std::uint64_t m_fileId = 0;
    FileFacts m_facts;
};

// Why a delete did not happen.
enum class DeleteFault {
    None,        // deleted
    Gone,        // nothing is at its path any more
    InUse,       // another program holds it open
    NoAccess,    // read-only, or no right to delete it
    Changed,     // another file now, or one that no longer passes the filter
    Link,        // its path leads elsewhere: a link, or a folder on the way swapped for one
    RecycleBin,  // the Recycle Bin cannot take it, and it is not deleted instead
    NotEmpty,    // a folder that is not empty (any more)
    Other,       // any other failure the system reports
};

// The outcome of one delete, with the system's error where it gave one (else 0).
struct DeleteOutcome {
    DeleteFault fault = DeleteFault::Other;
    std::uint32_t error = 0;
    bool Deleted() const { return fault == DeleteFault::None; }
};

// The fault the system's `error` from opening or deleting a file means.
DeleteFault FaultOfError(std::uint32_t error);

// What a result's line shows after its delete.
inline const wchar_t* DeletionMark(bool deleted)
{
    return deleted ? L"（削除済み）" : L"(削除に失敗)";
}
