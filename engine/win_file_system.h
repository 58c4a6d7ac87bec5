// The Windows file system under the walk, and the two ways of deleting one
// file. The only part of the engine that calls the system.
#pragma once

#include <windows.h>

#include "engine/file_walk.h"

class CWinFileSystem : public WalkFileSystem {
public:
    bool EnterDirectory(const CString& dir) override;
    void Enumerate(const char* pattern, const Visitor& visit) override;
};

// Deletes a file for good; a directory now at the path is not touched.
bool DeleteFilePermanently(const char* path);
// Moves a file into the Recycle Bin. A question the shell asks (a file the
// bin cannot take) is owned by `owner`; declining it is no success.
bool MoveToRecycleBin(const CString& path, HWND owner);
