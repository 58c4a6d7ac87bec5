// The parts of the search that need no window: the progress schedule and the
// joining of paths by whole code-page-932 characters.
#pragma once

#include <string>

#include "platform/cstring.h"

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

// Limits of the result set and of one fetch of selected lines.
const int MAX_RESULTS = 64000;
const int MAX_SEL_ITEMS = 32000;
