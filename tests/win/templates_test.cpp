// The three dialogs as the system creates them from the program's resources:
// every control in template order with its id, class, style, text and place.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/about_dlg.h"
#include "res/resource.h"
#include "tests/support/temp_dir.h"
#include "tests/win/win_test_support.h"
#include "ui/main_dlg.h"

using namespace win_test;

namespace {

struct ControlRow {
    int id;
    const char* cls;
    DWORD style;       // style bits besides WS_CHILD | WS_VISIBLE, the control type included
    DWORD exStyle;     // extended bits that must be present
    const char* text;  // nullptr: not compared
    RECT rect;         // dialog units: x, y, width, height
    bool border;       // a border, plain or sunken
};

const DWORD kButtonType = 0x0F;

void ExpectControls(HWND dialog, const std::vector<ControlRow>& rows)
{
    HWND child = ::GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.text ? row.text : row.cls);
        ASSERT_NE(nullptr, child) << "missing control " << row.id;
        EXPECT_EQ(row.id, ::GetDlgCtrlID(child) == 0xFFFF ? -1 : static_cast<int>(static_cast<short>(::GetDlgCtrlID(child))));
        char cls[64];
        ::GetClassNameA(child, cls, sizeof cls);
        EXPECT_EQ(0, lstrcmpiA(row.cls, cls)) << cls;

        DWORD style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
        DWORD ex = static_cast<DWORD>(::GetWindowLongA(child, GWL_EXSTYLE));
        // Scroll bars come and go with the content.
        DWORD want = (row.style | WS_CHILD | WS_VISIBLE) & ~(WS_VSCROLL | WS_HSCROLL);
        EXPECT_EQ(want & ~WS_BORDER, style & want & ~WS_BORDER) << std::hex << style;
        EXPECT_EQ((row.style & WS_TABSTOP) != 0, (style & WS_TABSTOP) != 0);
        EXPECT_EQ((row.style & WS_GROUP) != 0, (style & WS_GROUP) != 0);
        if (lstrcmpiA(cls, "Button") == 0) {
            EXPECT_EQ(row.style & kButtonType, style & kButtonType);
        }
        if (lstrcmpiA(cls, "ListBox") == 0) {
            EXPECT_EQ(0u, style & (LBS_SORT | LBS_MULTIPLESEL));
            EXPECT_EQ(row.style & LBS_EXTENDEDSEL, style & LBS_EXTENDEDSEL);
        }
        if (lstrcmpiA(cls, "ComboBox") == 0) {
            EXPECT_EQ(static_cast<DWORD>(CBS_DROPDOWN), style & (CBS_SORT | 3));
        }
        EXPECT_EQ(row.exStyle, ex & row.exStyle);
        // The progress bar takes its border into its own drawing.
        if (lstrcmpiA(cls, PROGRESS_CLASSA) != 0) {
            EXPECT_EQ(row.border, (style & WS_BORDER) != 0 || (ex & WS_EX_CLIENTEDGE) != 0) << std::hex << style << " " << ex;
        }
        if (row.text) {
            EXPECT_EQ(std::string(row.text), WindowText(child));
        }

        RECT want_px = {row.rect.left, row.rect.top, row.rect.left + row.rect.right, row.rect.top + row.rect.bottom};
        ::MapDialogRect(dialog, &want_px);
        RECT got;
        ::GetWindowRect(child, &got);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_NEAR(want_px.left, got.left, 1);
        EXPECT_NEAR(want_px.top, got.top, 1);
        bool fixedSize = lstrcmpiA(cls, "ComboBox") == 0 || (style & SS_TYPEMASK) == SS_ICON;
        if (!fixedSize) {
            EXPECT_NEAR(want_px.right, got.right, 1);
            EXPECT_NEAR(want_px.bottom, got.bottom, 1);
        }
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child) << "more controls than the template holds";
}

void ExpectDialog(HWND dialog, const char* caption, int width, int height, DWORD style, DWORD exStyle, bool bold)
{
    EXPECT_EQ(std::string(caption), WindowText(dialog));
    EXPECT_EQ(style, static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE)) & style);
    EXPECT_EQ(exStyle, static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE)) & exStyle);
    RECT size = {0, 0, width, height};
    ::MapDialogRect(dialog, &size);
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_NEAR(size.right, client.right, 1);
    EXPECT_NEAR(size.bottom, client.bottom, 1);

    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA lf;
    ASSERT_NE(0, ::GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(kDialogFont, lf.lfFaceName);
    HDC dc = ::GetDC(dialog);
    EXPECT_EQ(-::MulDiv(9, ::GetDeviceCaps(dc, LOGPIXELSY), 72), lf.lfHeight);
    ::ReleaseDC(dialog, dc);
    EXPECT_EQ(bold, lf.lfWeight > FW_NORMAL);
}

const DWORD PB = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD GROUP = BS_GROUPBOX;
const DWORD LIST = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;

TEST(Templates, MainWindow)
{
    testing_support::TempDir dir;
    auto dlg = std::make_unique<CMainDlg>();
    ASSERT_TRUE(dlg->Create(IDD_MAIN));
    ExpectDialog(dlg->m_hWnd, kMainCaption, 279, 231,
                 WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME, WS_EX_APPWINDOW, false);
    ExpectControls(
        dlg->m_hWnd,
        {
            {IDC_MASK_EDIT, "Edit", ES_AUTOHSCROLL | WS_TABSTOP, 0, "", {16, 205, 122, 14}, true},
            {IDC_REMOVE_MASK, "Button", PB, 0, kRemoveMaskLabel, {144, 186, 36, 14}, false},
            {IDC_ADD_MASK, "Button", PB, 0, kAddMaskLabel, {144, 205, 36, 14}, false},
            {IDC_DIR_EDIT, "Edit", ES_AUTOHSCROLL | WS_TABSTOP, 0, "", {16, 109, 205, 14}, true},
            {IDC_REMOVE_DIR, "Button", PB, 0, kRemoveDirLabel, {227, 69, 36, 14}, false},
            {IDC_ADD_DIR, "Button", PB, 0, kAddDirLabel, {227, 89, 36, 14}, false},
            {IDC_BROWSE, "Button", PB, 0, kBrowseLabel, {227, 109, 36, 14}, false},
            {IDC_START_SEARCH, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kStartSearchLabel, {210, 165, 50, 14}, false},
            {IDC_UPDATE, "Button", PB, 0, kUpdateLabel, {210, 185, 50, 14}, false},
            {IDCANCEL, "Button", PB, 0, kQuitLabel, {210, 205, 50, 14}, false},
            {IDC_NEW_PATTERN, "Button", PB, 0, kNewPatternLabel, {146, 23, 36, 14}, false},
            {IDC_DELETE_PATTERN, "Button", PB, 0, kDeletePatternLabel, {188, 23, 36, 14}, false},
            {IDC_PATTERN_COMBO, "ComboBox", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0, nullptr, {49, 23, 90, 78}, false},
            {IDC_DIR_LIST, "ListBox", LIST, 0, nullptr, {16, 70, 205, 34}, true},
            {-1, "Button", GROUP, 0, kPatternGroup, {40, 7, 196, 38}, false},
            {-1, "Button", GROUP, 0, kDirGroup, {7, 55, 265, 89}, false},
            {IDC_MASK_LIST, "ListBox", LIST, 0, nullptr, {16, 166, 122, 34}, true},
            {-1, "Button", GROUP, 0, kMaskGroup, {7, 153, 180, 73}, false},
            {-1, "Button", GROUP, 0, "", {198, 153, 74, 73}, false},
            {IDC_SUBFOLDERS, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kSubfoldersLabel, {16, 129, 86, 10}, false},
        });
    dlg->DestroyWindow();
}

TEST(Templates, ResultsWindow)
{
    auto dlg = std::make_unique<CSearchDlg>();
    ASSERT_TRUE(dlg->Create(IDD_SEARCH));
    EXPECT_FALSE(::IsWindowVisible(dlg->m_hWnd));
    ExpectDialog(dlg->m_hWnd, kResultsCaption, 343, 165, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, false);
    EXPECT_EQ(0, ::GetWindowLongA(dlg->m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    ExpectControls(dlg->m_hWnd,
                   {
                       {IDC_ACTION, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kDeleteAction, {146, 144, 50, 14}, false},
                       {IDC_PROGRESS, PROGRESS_CLASSA, 0, 0, nullptr, {7, 15, 329, 14}, false},
                       {-1, "Static", SS_LEFT | WS_GROUP, 0, "0", {7, 7, 8, 8}, false},
                       {IDC_PROGRESS_MAX, "Static", WS_GROUP, WS_EX_RIGHT, "100", {299, 7, 37, 8}, false},
                       {IDC_STATUS, "Static", SS_LEFT | WS_GROUP, 0, kTemplateStatus, {7, 37, 329, 8}, false},
                       {IDC_RESULT_LIST, "ListBox", LBS_EXTENDEDSEL | LIST | WS_HSCROLL, 0, nullptr, {7, 60, 329, 62}, true},
                       {IDC_DELETE_THIS, "Button", BS_AUTO3STATE | WS_TABSTOP, 0, kDeleteThisLabel, {58, 126, 89, 10}, false},
                       {IDC_TO_RECYCLE, "Button", BS_AUTO3STATE | WS_TABSTOP, 0, kToRecycleLabel, {177, 126, 106, 10}, false},
                   });
    // The range the window sets for itself, and the focus on its first tab stop.
    const HWND bar = ::GetDlgItem(dlg->m_hWnd, IDC_PROGRESS);
    EXPECT_EQ(0, ::SendMessageA(bar, PBM_GETRANGE, TRUE, 0));
    EXPECT_EQ(100, ::SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    // Nothing to delete yet, and no search: the button closes the window.
    EXPECT_FALSE(dlg->IsStopRequested());
    ::SendMessageA(::GetDlgItem(dlg->m_hWnd, IDC_ACTION), BM_CLICK, 0, 0);
    EXPECT_FALSE(dlg->HasWindow());
}

TEST(Templates, AboutBox)
{
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    ExpectDialog(dlg.m_hWnd, kAboutCaption, 217, 55, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, false);
    ExpectControls(dlg.m_hWnd, {
                                   {-1, "Static", SS_ICON, 0, nullptr, {11, 17, 20, 20}, false},
                                   {-1, "Static", SS_NOPREFIX | WS_GROUP, 0, kAboutVersion, {40, 10, 119, 8}, false},
                                   {-1, "Static", WS_GROUP, 0, nullptr, {40, 25, 119, 8}, false},
                                   {IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, "OK", {178, 7, 32, 14}, false},
                               });
    dlg.DestroyWindow();
}

TEST(Templates, IconStringAndVersion)
{
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO info;
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP bm;
        ::GetObjectA(info.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(size, bm.bmWidth);
        ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        ::DestroyIcon(icon);
    }
    char text[128];
    ASSERT_GT(::LoadStringA(module, IDS_ABOUTBOX, text, sizeof text), 0);
    EXPECT_STREQ(kAboutMenuEntry, text);

    // The version block as the system reads it from the program file (the
    // ANSI queries write their conversions into room the reader provides).
    char modulePath[MAX_PATH];
    ::GetModuleFileNameA(module, modulePath, MAX_PATH);
    DWORD size = ::GetFileVersionInfoSizeA(modulePath, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> copy(size);
    ASSERT_TRUE(::GetFileVersionInfoA(modulePath, 0, size, copy.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(copy.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
    struct {
        const char* name;
        const char* value;
    } strings[] = {
        {"FileDescription", kFileDescription}, {"InternalName", "TIDYMOTH"}, {"OriginalFilename", "TIDYMOTH.EXE"},
        {"ProductName", kProductName},         {"CompanyName", ""},          {"LegalTrademarks", ""},
        {"FileVersion", "1, 0, 0, 1"},
    };
    for (auto& s : strings) {
        char* value = nullptr;
        std::string path = std::string("\\StringFileInfo\\041104B0\\") + s.name;
        ASSERT_TRUE(::VerQueryValueA(copy.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) << s.name;
        EXPECT_STREQ(s.value, value) << s.name;
    }
    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(copy.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(0x0411, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);
}

TEST(Resources, ManifestAsksForNoElevationAndNamesTheSystems)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_TRUE(found);
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    ASSERT_TRUE(bytes);
    const std::string manifest(bytes, ::SizeofResource(module, found));
    for (const char* part :
         {"level=\"asInvoker\"", "uiAccess=\"false\"", "<dpiAware", ">true</dpiAware>", "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

}  // namespace
