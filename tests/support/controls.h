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

std::string WindowText(HWND window);
std::string ClassName(HWND window);
bool IsEnabled(HWND window);  // false for no window
bool IsVisible(HWND window);
int Check(HWND button);

std::string ListItem(HWND list, int index);
std::vector<std::string> ListItems(HWND list);
int ListCurSel(HWND list);
// The selected lines of a list of either kind, in order.
std::vector<int> ListSelection(HWND list);

std::vector<std::string> ComboItems(HWND combo);
int ComboCurSel(HWND combo);
bool ComboDropped(HWND combo);

struct ProgressState {
    int low;
    int high;
    int pos;
};
ProgressState Progress(HWND bar);

}  // namespace testing_support
