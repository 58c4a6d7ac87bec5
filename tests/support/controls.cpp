#include "tests/support/controls.h"

#include <commctrl.h>

namespace testing_support {
namespace {

std::wstring Wide(const std::string& text, UINT codePage)
{
    int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
    return w;
}

std::string Narrow(const std::wstring& w, UINT codePage)
{
    int n = ::WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    if (n > 0)
        ::WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

// An item of a list box or a combo box's list, through the W messages.
std::wstring WideItemText(HWND control, UINT lenMessage, UINT textMessage, int index)
{
    LRESULT n = ::SendMessageW(control, lenMessage, static_cast<WPARAM>(index), 0);
    if (n < 0)
        return std::wstring();
    // Room to spare, whatever unit the length came in.
    std::wstring w(static_cast<size_t>(n) * 2 + 16, L'\0');
    n = ::SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&w[0]));
    if (n < 0)
        return std::wstring();
    w.resize(static_cast<size_t>(n));
    return w;
}

std::string ItemText(HWND control, UINT lenMessage, UINT textMessage, int index)
{
    return Narrow(WideItemText(control, lenMessage, textMessage, index), 932);
}

std::vector<std::string> Items(HWND control, UINT countMessage, UINT lenMessage, UINT textMessage)
{
    std::vector<std::string> items;
    int count = static_cast<int>(::SendMessageW(control, countMessage, 0, 0));
    for (int i = 0; i < count; ++i)
        items.push_back(ItemText(control, lenMessage, textMessage, i));
    return items;
}

int Send(HWND window, UINT message, WPARAM wParam = 0)
{
    return static_cast<int>(::SendMessageA(window, message, wParam, 0));
}

}  // namespace

std::string Utf8(const std::string& cp932)
{
    return Narrow(Wide(cp932, 932), CP_UTF8);
}

std::string Utf8(const std::wstring& text)
{
    return Narrow(text, CP_UTF8);
}

std::string WindowText(HWND window)
{
    if (!window)
        return std::string();
    LRESULT n = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (n < 0)
        return std::string();
    // Room for two bytes a character, should the length count characters.
    std::string s(static_cast<size_t>(n) * 2 + 2, '\0');
    n = ::SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(s.size()), reinterpret_cast<LPARAM>(&s[0]));
    s.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return s;
}

std::string ClassName(HWND window)
{
    char name[64];
    int n = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string ListItem(HWND list, int index)
{
    return ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, index);
}

std::vector<std::string> ListItems(HWND list)
{
    return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<int> ListSelection(HWND list)
{
    std::vector<int> lines;
    const int count = Send(list, LB_GETCOUNT);
    for (int i = 0; i < count; ++i) {
        if (Send(list, LB_GETSEL, static_cast<WPARAM>(i)) > 0)
            lines.push_back(i);
    }
    return lines;
}

std::vector<std::string> ComboItems(HWND combo)
{
    return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

ProgressState Progress(HWND bar)
{
    return ProgressState{Send(bar, PBM_GETRANGE, TRUE), Send(bar, PBM_GETRANGE, FALSE), Send(bar, PBM_GETPOS)};
}

std::wstring Wide932(const std::string& cp932)
{
    return Wide(cp932, 932);
}

std::wstring WideListItem(HWND list, int index)
{
    return WideItemText(list, LB_GETTEXTLEN, LB_GETTEXT, index);
}

}  // namespace testing_support
