// The main window created from its template over a settings file, as the
// program's start fills it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/settings_bytes.h"
#include "tests/win/win_test_support.h"
#include "ui/main_dlg.h"

using namespace win_test;

namespace {

struct MainWindowTest : ::testing::Test {
    TempDir dir;
    ScriptedBoxes boxes;
    std::unique_ptr<CMainDlg> dlg;

    void Open()
    {
        dlg = std::make_unique<CMainDlg>();
        ASSERT_TRUE(dlg->Create(IDD_MAIN));
        ::SetForegroundWindow(dlg->m_hWnd);
        PumpPending();
    }
    HWND Item(int id) { return ::GetDlgItem(dlg->m_hWnd, id); }
    void TearDown() override
    {
        CancelDrainActions();
        if (dlg && dlg->m_hWnd)
            dlg->DestroyWindow();
    }
};

TEST_F(MainWindowTest, StartsWithoutSettingsFile)
{
    Open();
    EXPECT_EQ(FreshMainState(), ReadMainState(dlg->m_hWnd));
    EXPECT_EQ(0, dlg->m_bDirty);
    EXPECT_EQ(Item(IDC_MASK_EDIT), ::GetFocus());
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_FALSE(FileExists(kSettingsFile));
}

TEST_F(MainWindowTest, FilledFromSettingsFileInSlotOrder)
{
    const Entry tmp{"*.TMP", 0};
    ASSERT_TRUE(WriteFileBytes(kSettingsFile, SettingsBytes({{"P0", {tmp}, {{"C:\\A\\", 1}, {"C:\\B\\", 1}}},
                                                             {"P1", {tmp}, {{"D:\\", 1}}},
                                                             {"P2", {tmp}, {}}})));
    Open();
    EXPECT_EQ((MainState{{"P0", "P1", "P2"}, 0, "P0", {"*.TMP"}, -1, "", {"C:\\A\\", "C:\\B\\"}, -1, "", BST_UNCHECKED, false}),
              ReadMainState(dlg->m_hWnd));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(MainWindowTest, DamagedSettingsFileIsReportedOnceAndKept)
{
    Bytes file = SettingsBytes({{"KEPT", {{"*.TMP", 0}}, {{"C:\\A\\", 1}}}, {"LOST", {{"*.TMP", 0}}, {{"D:\\", 1}}}});
    file.resize(file.size() - 3);
    ASSERT_TRUE(WriteFileBytes(kSettingsFile, file));
    Open();
    PumpUntil([&] { return boxes.Count() > 0; }, 2000);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(kMessage, boxes.Last().caption);
    EXPECT_EQ(dlg->m_hWnd, boxes.Last().owner);
    EXPECT_NE(std::string::npos, boxes.Last().text.find("KEPT"));
    EXPECT_EQ(std::string::npos, boxes.Last().text.find("LOST"));
    EXPECT_EQ(std::vector<std::string>{"KEPT"}, ComboItems(Item(IDC_PATTERN_COMBO)));
    PumpPending();
    EXPECT_EQ(1u, boxes.Count());
    Bytes now;
    ASSERT_TRUE(ReadFileBytes(kSettingsFile, now));
    EXPECT_EQ(file, now);  // nothing is written until the user saves
}

TEST_F(MainWindowTest, AboutBoxFromTheSystemMenu)
{
    Open();
    HMENU menu = ::GetSystemMenu(dlg->m_hWnd, FALSE);
    int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(menu, count - 1));
    char text[128];
    ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(kAboutMenuEntry, text);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, count - 2, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);

    // Every command 0x0010 to 0x001F opens the About box, modal over the
    // main window; 0x0020 does not.
    for (UINT id : {0x0010u, 0x0017u, 0x001Fu, 0x0020u}) {
        SCOPED_TRACE(id);
        bool shown = false;
        RunInDrain([&] {
            HWND about = ::FindWindowA("#32770", kAboutCaption);
            shown = about != nullptr && ::IsWindowVisible(about);
            if (about) {
                EXPECT_FALSE(::IsWindowEnabled(dlg->m_hWnd));
                ::PostMessageA(about, WM_COMMAND, IDOK, 0);
            }
        }, 50);
        ::SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, id, 0);
        if (id == 0x0020u) {
            PumpPending();
            ::Sleep(100);
            PumpPending();
        }
        EXPECT_EQ(id != 0x0020u, shown);
        EXPECT_TRUE(::IsWindowEnabled(dlg->m_hWnd));
        CancelDrainActions();
    }
}

TEST(MainWindowIcon, CentredInTheClientAreaWhenMinimised)
{
    struct Row {
        RECT client;
        int icon;
        POINT at;
    } rows[] = {
        {{0, 0, 36, 36}, 32, {2, 2}},
        {{0, 0, 37, 38}, 32, {3, 3}},
        {{0, 0, 160, 24}, 32, {64, -3}},  // integer division truncates
        {{0, 0, 16, 16}, 16, {0, 0}},
        {{0, 0, 0, 0}, 32, {-15, -15}},
    };
    for (const Row& r : rows) {
        POINT at = CMainDlg::IconOrigin(r.client, r.icon, r.icon);
        EXPECT_EQ(r.at.x, at.x);
        EXPECT_EQ(r.at.y, at.y);
    }
}

}  // namespace
