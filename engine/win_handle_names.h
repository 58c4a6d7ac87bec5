// What the system says of an open file or folder: the names it reports for
// it and its id. Shared by the listing, the checked deletes and the console
// program's log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/found_file.h"

// The longest path the system takes, with its terminator. Longer paths are
// refused, never cut.
const size_t LONGEST_PATH = 32767;

const DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The final path of an open file or folder, links followed: "\\?\C:\DIR\NAME"
// or "\\?\UNC\SERVER\SHARE\...", or empty. The DOS form costs least under
// Wine, which gives none beyond MAX_PATH.
std::wstring FinalPathOfHandle(HANDLE handle);

// The path of an open file or folder from the root of its volume
// ("\DIR\NAME"), links followed, or empty; there at any length.
std::wstring PathOnVolumeOfHandle(HANDLE handle);

// Both names; the path on the volume only where no final path comes, as it costs more.
ReportedName ReportedNameOfHandle(HANDLE handle);

// The id the file system keeps for an open file, as its listings give it, or 0.
std::uint64_t FileIdOf(HANDLE handle);

// The folder at `verbatimDir` opened with `access` (and `flags` beside
// backup semantics), or INVALID_HANDLE_VALUE.
HANDLE OpenFolder(const std::wstring& verbatimDir, DWORD access, DWORD flags = 0);

// The two handles are open on the same file: the same volume and id, or the
// same id where the system tells nothing else of one of them.
bool SameFile(HANDLE a, HANDLE b);
