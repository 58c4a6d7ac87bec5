// Readers of the program's controls, for the in-process and the end-to-end
// tests alike: they work on windows of this process and of another one.
// Texts are code page 932. WM_GETTEXT is converted correctly by the A call;
// list and combo box items go through the W call (Wine 8 returns UTF-16
// bytes to a cross-process LB_GETTEXT/CB_GETLBTEXT in A). PBM_GETRANGE is
// not marshalled: its limits come back as return values.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Code page 932 text as UTF-8, for readable failure messages.
std::string Utf8(const std::string& cp932);
// UTF-16 text as UTF-8, as the console program writes it.
std::string Utf8(const std::wstring& text);

// Code page 932 text as UTF-16, as the program's windows keep it.
std::wstring Wide932(const std::string& cp932);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
inline bool IsEnabled(HWND window)
{
    return window && ::IsWindowEnabled(window);
}  // false for no window
inline bool IsVisible(HWND window)
{
    return window && ::IsWindowVisible(window);
}
inline int Check(HWND button)
{
    return static_cast<int>(::SendMessageA(button, BM_GETCHECK, 0, 0));
}

std::string ListItem(HWND list, int index);
// The line exactly, for names the code page cannot spell.
std::wstring WideListItem(HWND list, int index);
std::vector<std::string> ListItems(HWND list);
inline int ListCurSel(HWND list)
{
    return static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
}
// The selected lines of a list of either kind, in order.
std::vector<int> ListSelection(HWND list);

std::vector<std::string> ComboItems(HWND combo);
inline int ComboCurSel(HWND combo)
{
    return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
}
inline bool ComboDropped(HWND combo)
{
    return ::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

struct ProgressState {
    int low;
    int high;
    int pos;
};
ProgressState Progress(HWND bar);

}  // namespace testing_support
