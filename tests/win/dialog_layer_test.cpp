// The dialog procedure is the exception boundary: whatever a handler throws
// is reported in a box owned by its window, and the window lives on.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/file.h"
#include "platform/win/dialog.h"
#include "res/resource.h"
#include "tests/win/win_test_support.h"

using namespace win_test;

namespace {

const char kFailedPath[] = "C:\\DATA\\Tidymoth.use";

class ThrowingDlg : public CDialog {
public:
    ThrowingDlg() : CDialog(IDD_ABOUTBOX) {}
    int what = 0;
    void OnThrow()
    {
        if (what == 0)
            throw CFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, kFailedPath);
        if (what == 1)
            throw std::runtime_error("out of order");
        throw 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingDlg, CDialog)
    ON_BN_CLICKED(IDOK, OnThrow)
END_MESSAGE_MAP()

TEST(DialogLayer, HandlerFailuresAreReportedByTheirWindow)
{
    ScriptedBoxes boxes;
    ThrowingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    for (int what = 0; what < 3; ++what) {
        dlg.what = what;
        ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_EQ(static_cast<size_t>(what + 1), boxes.Count());
        EXPECT_EQ(dlg.m_hWnd, boxes.Last().owner);
        EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Last().type & MB_TYPEMASK);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    }
    EXPECT_NE(std::string::npos, boxes.Boxes()[0].text.find(kFailedPath));
    EXPECT_NE(std::string::npos, boxes.Boxes()[1].text.find("out of order"));
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

}  // namespace
