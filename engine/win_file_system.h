// The Windows file system under the walk, and the deletion of one listed
// file. The only part of the engine that calls the system; every path it is
// given is a verbatim one (engine/paths.h), but for the two calls that take
// only a plain path.
#pragma once

#include <windows.h>

#include <string>

#include "engine/file_walk.h"

class CWinFileSystem : public WalkFileSystem {
public:
    std::wstring ExactFormOf(const CString& text) const override;
    CString SpellingOf(const wchar_t* exactName) const override;
    std::unique_ptr<Listing> List(const std::wstring& verbatimDir) override;
    ReportedName ReportedNameOf(const std::wstring& verbatimDir) override;
    bool EnterDirectory(const std::wstring& plainDir) override;
    // A folder is at `verbatimDir`.
    static bool IsFolder(const std::wstring& verbatimDir);
};

// Deletes found files, each only when the file at its verbatim path is the
// one the search listed: reached through the same names (a link to a file
// elsewhere, or a folder on the way swapped for a link after the search,
// leads to another name), and where a name ends in a dot or a space, which a
// system may report without them, with the id the listing gave it and not
// its namesake's. Neither another file nor what a link points to is ever
// deleted. With a filter, a file is deleted only if it still passes it, as
// read through the same handle.
class CListedFileDeleter {
public:
    // `filter`, if any, must outlive the deleter.
    explicit CListedFileDeleter(const FileFilter* filter = nullptr) : m_filter(filter && filter->Any() ? filter : nullptr) {}

    // Deletes the file for good, through the handle that was checked.
    bool DeletePermanently(const CFoundFile& file);
    // Moves the file into the Recycle Bin, where its plain path names it (the
    // shell takes no other); otherwise it stays where it is. A question the
    // shell asks (a file the bin cannot take) is owned by `owner`; declining
    // it is no success.
    bool MoveToRecycleBin(const CFoundFile& file, HWND owner);
    // The same with no one to ask: each question the shell would ask is
    // declined without a window ever being shown, so a file the bin cannot
    // take is left where it is.
    bool MoveToRecycleBinUnattended(const CFoundFile& file);

private:
    // The file opened for deletion if it is the listed file, or
    // INVALID_HANDLE_VALUE.
    HANDLE OpenListedFile(const CFoundFile& file) const;
    // The opened listed file still passes the filter.
    bool StillPasses(HANDLE opened) const;

    const FileFilter* m_filter;
};
