// The parts of the search that need no window: the progress schedule and the
// joining of paths by whole code-page-932 characters.
#pragma once

#include <string>
#include <vector>

#include "platform/cstring.h"

class CPatternSet;

// The new maximum of the progress range when a directory is entered with
// exactly `count` results, or 0 when the range stays as it is.
int ProgressMaximumFor(int count);

// `dir`, a backslash unless `dir` already ends with one, then `name`.
CString JoinPath(const CString& dir, const char* name);

// The same on exact (UTF-16) paths, where "\\" is always a separator.
std::wstring JoinExactPath(const std::wstring& dir, const wchar_t* name);

// A mask names entries of the searched directory only: no "\", "/" or ":".
bool IsPlainMask(const char* mask);

// True for "X:\..." and "\\server\..." paths.
bool IsAbsolutePath(const char* path);

// An absolute form of a stored directory: relative ones ("DATA", ".\DATA",
// "\DATA", "C:DATA") are taken relative to `base`, an absolute directory.
CString ResolveDirectory(const CString& dir, const CString& base);

// A stored directory as the search takes it: absolute, with its subfolder flag.
struct SearchedDirectory {
    CString path;
    int recurse;
};

// The directories of the current pattern the search walks, in order: each
// relative one taken from `startDir`; an empty entry, or a relative one with
// no start-up directory to take it from, names none.
std::vector<SearchedDirectory> SearchedDirectories(const CPatternSet& set, const CString& startDir);

// The masks of the current pattern the search takes, in order. A mask with a
// folder part would name files of another folder, and an empty one (only a
// damaged settings file holds one) names none.
std::vector<CString> SearchedMasks(const CPatternSet& set);

// What a result's line shows after the deletion pass.
inline const char* DeletionMark(bool deleted)
{
    return deleted ? "（削除済み）" : "(削除に失敗)";
}

// Limits of the result set and of one fetch of selected lines.
const int MAX_RESULTS = 64000;
const int MAX_SEL_ITEMS = 32000;
