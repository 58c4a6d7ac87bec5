// The main window created from its template over a settings file, as the
// program's start fills it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <shlobj.h>

#include <cstring>

#include "platform/win/wide_text.h"
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

// What the program's start shows for a settings file: none, a whole one, and
// one cut short, which is reported once and kept as it is.
struct StartRow {
    const char* name;
    Bytes file;  // none when empty
    MainState shown;
    bool reported;
};

const Entry kTmp{"*.TMP", 0};

const StartRow kStarts[] = {
    {"WithoutSettingsFile", {}, FreshMainState(), false},
    {"FilledInSlotOrder",
     SettingsBytes({{"P0", {kTmp}, {{"C:\\A\\", 1}, {"C:\\B\\", 1}}}, {"P1", {kTmp}, {{"D:\\", 1}}}, {"P2", {kTmp}, {}}}),
     {{"P0", "P1", "P2"}, 0, "P0", {"*.TMP"}, -1, "", {"C:\\A\\", "C:\\B\\"}, -1, "", BST_UNCHECKED, false},
     false},
    {"DamagedFile",
     [] {
         Bytes file = SettingsBytes({{"KEPT", {kTmp}, {{"C:\\A\\", 1}}}, {"LOST", {kTmp}, {{"D:\\", 1}}}});
         file.resize(file.size() - 3);
         return file;
     }(),
     {{"KEPT"}, 0, "KEPT", {"*.TMP"}, -1, "", {"C:\\A\\"}, -1, "", BST_UNCHECKED, false},
     true},
};

class StartTest : public MainWindowTest, public ::testing::WithParamInterface<StartRow> {};

TEST_P(StartTest, FillsTheWindowFromTheSettingsFile)
{
    const StartRow& row = GetParam();
    if (!row.file.empty()) {
        ASSERT_TRUE(WriteFileBytes(kSettingsFile, row.file));
    }
    Open();
    if (row.reported)
        PumpUntil([&] { return boxes.Count() > 0; }, 2000);
    EXPECT_EQ(row.shown, ReadMainState(dlg->m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_UPDATE)));  // nothing to save
    EXPECT_EQ(Item(IDC_MASK_EDIT), ::GetFocus());
    PumpPending();
    ASSERT_EQ(row.reported ? 1u : 0u, boxes.Count());
    if (row.reported) {
        EXPECT_EQ(kMessage, boxes.Last().caption);
        EXPECT_EQ(dlg->m_hWnd, boxes.Last().owner);
        EXPECT_NE(std::string::npos, boxes.Last().text.find("KEPT"));
        EXPECT_EQ(std::string::npos, boxes.Last().text.find("LOST"));
    }
    // Nothing is written until the user saves.
    Bytes now;
    EXPECT_EQ(!row.file.empty(), ReadFileBytes(kSettingsFile, now));
    EXPECT_EQ(row.file, now);
}

INSTANTIATE_TEST_SUITE_P(Files, StartTest, ::testing::ValuesIn(kStarts),
                         [](const ::testing::TestParamInfo<StartRow>& info) { return std::string(info.param.name); });

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
        RunInDrain(
            [&] {
                HWND about = ::FindWindowA("#32770", kAboutCaption);
                shown = about != nullptr && ::IsWindowVisible(about);
                if (about) {
                    EXPECT_FALSE(::IsWindowEnabled(dlg->m_hWnd));
                    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
                }
            },
            50);
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

// Folders dropped as the shell hands them over are added in order as typed
// ones; a name the code page cannot spell is refused, a file never added.
TEST_F(MainWindowTest, DroppedFoldersAreAddedAsTypedOnes)
{
    const std::wstring here = WideFromAnsi(dir.Path().c_str()) + L"\\";
    for (const wchar_t* name : {L"one", L"two", L"\uD55C"})
        ASSERT_TRUE(::CreateDirectoryW((here + name).c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(dir / "f.txt", Bytes{'x'}));
    Open();
    ::SendMessageA(Item(IDC_SUBFOLDERS), BM_CLICK, 0, 0);
    // DROPFILES, then each wide name and an empty one.
    std::wstring names;
    for (const wchar_t* name : {L"one", L"f.txt", L"\uD55C", L"two"})
        names += here + name + L'\0';
    const DROPFILES head = {sizeof(DROPFILES), {}, FALSE, TRUE};
    HGLOBAL drop = ::GlobalAlloc(GHND, sizeof head + (names.size() + 1) * sizeof(wchar_t));
    char* bytes = static_cast<char*>(::GlobalLock(drop));
    std::memcpy(bytes, &head, sizeof head);
    std::memcpy(bytes + sizeof head, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(drop);
    ::SendMessageA(dlg->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    CString one = (dir / "one\\").c_str(), two = (dir / "two\\").c_str();
    one.MakeUpper();
    two.MakeUpper();
    EXPECT_EQ((std::vector<std::string>{one.GetString(), two.GetString()}), ListItems(Item(IDC_DIR_LIST)));
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(kDirUnspellable, boxes.Boxes()[0].text);
    EXPECT_NE(std::string::npos, boxes.Boxes()[1].text.find("フォルダーだけ"));
    ::SendMessageA(dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED), 0);
    Bytes saved;  // the start-up directory's, whichever is current now
    ASSERT_TRUE(ReadFileBytes(dir / kSettingsFile, saved));
    EXPECT_EQ(SettingsBytes({{kDefaultName, {}, {{one.GetString(), 1}, {two.GetString(), 1}}}}), saved);
}

TEST(MainWindowIcon, CentredInTheClientAreaWhenMinimised)
{
    struct Row {
        RECT client;
        int icon;
        POINT at;
    } rows[] = {
        {{0, 0, 36, 36}, 32, {2, 2}},    {{0, 0, 37, 38}, 32, {3, 3}},
        {{0, 0, 160, 24}, 32, {64, -3}},  // integer division truncates
        {{0, 0, 16, 16}, 16, {0, 0}},    {{0, 0, 0, 0}, 32, {-15, -15}},
    };
    for (const Row& r : rows) {
        POINT at = CMainDlg::IconOrigin(r.client, r.icon, r.icon);
        EXPECT_EQ(r.at.x, at.x);
        EXPECT_EQ(r.at.y, at.y);
    }
}

}  // namespace
