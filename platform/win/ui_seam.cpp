#include "platform/win/ui_seam.h"

namespace platform {
namespace {
MessageBoxHandler g_messageBox = nullptr;
BrowseHandler g_browse = nullptr;
}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (g_messageBox)
        return g_messageBox(owner, text, caption, type);
    return ::MessageBoxA(owner, text, caption, type);
}

LPITEMIDLIST BrowseForFolder(BROWSEINFOA* request)
{
    if (g_browse)
        return g_browse(request);
    return ::SHBrowseForFolderA(request);
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    g_messageBox = handler;
}
void SetBrowseHandler(BrowseHandler handler)
{
    g_browse = handler;
}

}  // namespace platform
