// The Windows file system under the walk, and the deletion of one listed
// file. The only part of the engine that calls the system.
#pragma once

#include <windows.h>

#include <string>

#include "engine/file_walk.h"

class CWinFileSystem : public WalkFileSystem {
public:
    std::wstring ExactFormOf(const CString& text) const override;
    CString SpellingOf(const wchar_t* exactName) const override;
    std::unique_ptr<Listing> List(const std::wstring& exactDir) override;
    std::wstring FinalPathOf(const std::wstring& exactDir) override;
    bool EnterDirectory(const std::wstring& exactDir) override;
};

// Deletes listed files, each only when the file at its path is the one the
// search found: its final path, links followed, must be the one the search
// fixed for it (the final path of its stored directory as the search entered
// it, joined with the names below). A link to a file elsewhere fails this, as
// does a folder swapped for a link after the search: neither is deleted, nor
// is what it points to.
class CListedFileDeleter {
public:
    // Deletes the file for good, through the handle that was checked.
    bool DeletePermanently(const std::wstring& path, const std::wstring& finalPath);
    // Moves the file into the Recycle Bin. A question the shell asks (a file
    // the bin cannot take) is owned by `owner`; declining it is no success.
    bool MoveToRecycleBin(const std::wstring& path, const std::wstring& finalPath, HWND owner);
    // The same with no one to ask: each question the shell would ask is
    // declined without a window ever being shown, so a file the bin cannot
    // take is left where it is.
    bool MoveToRecycleBinUnattended(const std::wstring& path, const std::wstring& finalPath);

private:
    // The file at `path` opened for deletion if it is the listed file, or
    // INVALID_HANDLE_VALUE.
    static HANDLE OpenListedFile(const std::wstring& path, const std::wstring& finalPath);
};
