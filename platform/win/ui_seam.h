// The one place where the program asks the user something outside its own
// windows: message boxes and the folder browser. Tests can put a scripted
// answerer in place of the system's dialogs; nothing else does.
#pragma once

#include <windows.h>
#include <shlobj.h>

namespace platform {

// The caption of a failure the framework reports.
inline constexpr char kErrorCaption[] = "エラー";

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// SHBrowseForFolderA: the chosen item, or nullptr when cancelled.
LPITEMIDLIST BrowseForFolder(BROWSEINFOA* request);

using MessageBoxHandler = int (*)(HWND owner, const char* text, const char* caption, UINT type);
using BrowseHandler = LPITEMIDLIST (*)(BROWSEINFOA* request);
// nullptr puts the system's dialog back.
void SetMessageBoxHandler(MessageBoxHandler handler);
void SetBrowseHandler(BrowseHandler handler);

}  // namespace platform
