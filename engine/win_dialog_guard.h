// While a CDialogsRefused lives, no dialog box can be created on its thread:
// each one the shell would open fails to appear, which the shell takes as
// "no". A run with no one to ask is kept from waiting for ever.
#pragma once

#include <windows.h>

class CDialogsRefused {
public:
    CDialogsRefused();
    ~CDialogsRefused();
    CDialogsRefused(const CDialogsRefused&) = delete;
    CDialogsRefused& operator=(const CDialogsRefused&) = delete;
    bool IsActive() const { return m_hook != nullptr; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook;
};
