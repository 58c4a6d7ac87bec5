// The Windows file system under the walk, and the deletion of one listed
// file. The only part of the engine that calls the system.
#pragma once

#include <windows.h>

#include <string>

#include "engine/file_walk.h"

class CWinFileSystem : public WalkFileSystem {
public:
    std::wstring ExactFormOf(const CString& text) const override;
    bool EnterDirectory(const std::wstring& exactDir) override;
    void Enumerate(const std::wstring& pattern, const Visitor& visit) override;
};

// Deletes listed files, each only when the file at its path is the one the
// walk found: the file itself, under its listed name, in the directory it
// was found in (its final path is that directory's final path joined with
// the name). A link to a file elsewhere fails this, and is never deleted,
// nor is what it points to.
class CListedFileDeleter {
public:
    // Deletes the file for good, through the handle that was checked.
    bool DeletePermanently(const std::wstring& path);
    // Moves the file into the Recycle Bin. A question the shell asks (a file
    // the bin cannot take) is owned by `owner`; declining it is no success.
    bool MoveToRecycleBin(const std::wstring& path, HWND owner);

private:
    // The file at `path` opened for deletion if it is the listed file, or
    // INVALID_HANDLE_VALUE.
    HANDLE OpenListedFile(const std::wstring& path);
    bool IsFoundThere(HANDLE file, const std::wstring& path);

    // The last directory looked at and its final path: results of one
    // directory come one after the other.
    std::wstring m_strDir;
    std::wstring m_strDirFinal;
};
