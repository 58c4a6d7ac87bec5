#include "platform/win/combo_box.h"
#include "platform/win/list_box.h"

int CComboBox::GetLBText(int index, CString& text) const
{
    int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
    if (length == CB_ERR) {
        text.Empty();
        return CB_ERR;
    }
    char* buffer = text.GetBuffer(length);
    int got = static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(got == CB_ERR ? 0 : got);
    return got;
}

int CListBox::GetText(int index, CString& text) const
{
    int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (length == LB_ERR) {
        text.Empty();
        return LB_ERR;
    }
    char* buffer = text.GetBuffer(length);
    int got = static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(got == LB_ERR ? 0 : got);
    return got;
}
