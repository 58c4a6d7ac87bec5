#include "platform/win/combo_box.h"
#include "platform/win/list_box.h"

namespace {

// Copies item `index` of a list or combo box: its length first, then its
// text; `error` (LB_ERR / CB_ERR) when the index names no item.
int CopyItemText(const CWnd& control, UINT lengthMessage, UINT textMessage, int error, int index, CString& text)
{
    int length = static_cast<int>(control.SendMessage(lengthMessage, static_cast<WPARAM>(index)));
    if (length == error) {
        text.Empty();
        return error;
    }
    char* buffer = text.GetBuffer(length);
    int got = static_cast<int>(control.SendMessage(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(got == error ? 0 : got);
    return got;
}

}  // namespace

int CListBox::GetText(int index, std::wstring& text) const
{
    int length = static_cast<int>(SendWide(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (length == LB_ERR) {
        text.clear();
        return LB_ERR;
    }
    text.assign(static_cast<size_t>(length) + 1, L'\0');
    int got = static_cast<int>(SendWide(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0])));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return got;
}

int CComboBox::GetLBText(int index, CString& text) const
{
    return CopyItemText(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ERR, index, text);
}

int CListBox::GetText(int index, CString& text) const
{
    return CopyItemText(*this, LB_GETTEXTLEN, LB_GETTEXT, LB_ERR, index, text);
}

int CListBox::TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}
