#pragma once

#include "platform/win/dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr) : CDialog(IDD_ABOUTBOX, pParent) {}
};
