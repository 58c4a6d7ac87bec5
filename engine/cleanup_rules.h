// What an unattended cleanup leaves alone: the files and folders the user
// excludes, and a pattern that would empty a whole volume.
#pragma once

#include <string>
#include <vector>

#include "engine/file_mask.h"

// What a value given to exclude folders names.
enum class FolderExclusionKind {
    Name,     // a mask on a folder's own name, at any depth ("node_modules", "*.cache")
    Path,     // the one folder at an absolute path ("C:\VM", "\\server\share\x")
    Invalid,  // empty, a relative path with a folder part, or a path with a wildcard
};
FolderExclusionKind KindOfFolderExclusion(const std::wstring& value);

// A value given to exclude files: a mask on a file's own name, not empty and
// with no folder part.
bool IsFileExclusion(const std::wstring& value);

class CExclusions {
public:
    CExclusions() = default;
    // Values the two checks above took.
    CExclusions(const std::vector<std::wstring>& files, const std::vector<std::wstring>& folders);

    bool Any() const { return !m_files.empty() || !m_folderNames.empty() || !m_folderPaths.empty(); }
    // A file of this name is not taken.
    bool ExcludesFile(const wchar_t* name) const;
    // The folder named `name` at the verbatim path `verbatim` is not entered.
    bool ExcludesFolder(const std::wstring& name, const std::wstring& verbatim) const;
    // A stored directory at `verbatim` is not searched when it, or a folder
    // it lies in, is excluded.
    bool ExcludesStoredDirectory(const std::wstring& verbatim) const;

private:
    bool ExcludesPath(const std::wstring& verbatim) const;

    std::vector<CFileMask> m_files;
    std::vector<CFileMask> m_folderNames;
    std::vector<std::wstring> m_folderPaths;  // verbatim, upper-cased as names compare
};

// The mask takes every name ("*", "*.*", and any other that reads the same).
bool TakesEveryName(const CFileMask& mask);

// Whether a pass with `mask` over the stored directory `dir` (absolute, in
// any form), with its subfolders when `recurse` is 1, would empty a whole
// volume: the directory is a volume's root (a drive, a share, or a folder
// where a volume is mounted: `mountPoint`) and the mask takes every name.
bool EmptiesVolume(const std::wstring& dir, bool mountPoint, int recurse, const std::wstring& mask);
