// The main window created from its template over a settings file, as the
// program's start fills it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/temp_dir.h"
#include "tests/win/win_test_support.h"
#include "ui/main_dlg.h"

using namespace win_test;
using testing_support::Bytes;
using testing_support::TempDir;

namespace {

// Settings-file bytes for patterns of masks and directories (flag 1).
Bytes SettingsFile(const std::vector<std::pair<std::string, std::vector<std::string>>>& patterns, int claimed = -1)
{
    Bytes b;
    auto put = [&](int v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<unsigned char>(static_cast<unsigned>(v) >> (8 * i)));
    };
    auto str = [&](const std::string& s) {
        put(static_cast<int>(s.size()));
        b.insert(b.end(), s.begin(), s.end());
    };
    put(claimed < 0 ? static_cast<int>(patterns.size()) : claimed);
    for (auto& p : patterns) {
        str(p.first);
        put(1);
        str("*.TMP");
        put(0);
        put(static_cast<int>(p.second.size()));
        for (auto& d : p.second) {
            str(d);
            put(1);
        }
    }
    return b;
}

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
    EXPECT_EQ(std::vector<std::string>{"新しいパターン"}, ComboItems(Item(IDC_PATTERN_COMBO)));
    EXPECT_EQ(0, ::SendMessageA(Item(IDC_PATTERN_COMBO), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("新しいパターン", TextOf(Item(IDC_PATTERN_COMBO)));
    EXPECT_TRUE(ListItems(Item(IDC_MASK_LIST)).empty());
    EXPECT_TRUE(ListItems(Item(IDC_DIR_LIST)).empty());
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_UPDATE)));
    EXPECT_EQ(0, dlg->m_bDirty);
    EXPECT_EQ(Item(IDC_MASK_EDIT), ::GetFocus());
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_FALSE(testing_support::FileExists("Tidymoth.use"));
}

TEST_F(MainWindowTest, FilledFromSettingsFileInSlotOrder)
{
    ASSERT_TRUE(testing_support::WriteFileBytes(
        "Tidymoth.use", SettingsFile({{"P0", {"C:\\A\\", "C:\\B\\"}}, {"P1", {"D:\\"}}, {"P2", {}}})));
    Open();
    EXPECT_EQ((std::vector<std::string>{"P0", "P1", "P2"}), ComboItems(Item(IDC_PATTERN_COMBO)));
    EXPECT_EQ("P0", TextOf(Item(IDC_PATTERN_COMBO)));
    EXPECT_EQ((std::vector<std::string>{"C:\\A\\", "C:\\B\\"}), ListItems(Item(IDC_DIR_LIST)));
    EXPECT_EQ(std::vector<std::string>{"*.TMP"}, ListItems(Item(IDC_MASK_LIST)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_UPDATE)));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(MainWindowTest, DamagedSettingsFileIsReportedOnceAndKept)
{
    Bytes file = SettingsFile({{"KEPT", {"C:\\A\\"}}, {"LOST", {"D:\\"}}});
    file.resize(file.size() - 3);
    ASSERT_TRUE(testing_support::WriteFileBytes("Tidymoth.use", file));
    Open();
    PumpUntil([&] { return boxes.Count() > 0; }, 2000);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("メッセージ", boxes.Last().caption);
    EXPECT_EQ(dlg->m_hWnd, boxes.Last().owner);
    EXPECT_NE(std::string::npos, boxes.Last().text.find("KEPT"));
    EXPECT_EQ(std::string::npos, boxes.Last().text.find("LOST"));
    EXPECT_EQ(std::vector<std::string>{"KEPT"}, ComboItems(Item(IDC_PATTERN_COMBO)));
    PumpPending();
    EXPECT_EQ(1u, boxes.Count());
    Bytes now;
    ASSERT_TRUE(testing_support::ReadFileBytes("Tidymoth.use", now));
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
    EXPECT_STREQ("ﾊﾞｰｼﾞｮﾝ情報(Tidymoth) (&A)...", text);
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
            HWND about = ::FindWindowA("#32770", "ﾊﾞｰｼﾞｮﾝ情報 Tidymoth");
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
