#include "ui/main_dlg.h"

#include "app/about_dlg.h"
#include "engine/dpi_scale.h"
#include "engine/paths.h"
#include "platform/file.h"
#include "platform/win/paint_dc.h"
#include "platform/win/ui_seam.h"
#include "ui/captions.h"

namespace {

// Posted by OnInitDialog so that a damaged settings file is reported once
// the window is on the screen.
const UINT WM_TIDYMOTH_LOAD_REPORT = WM_APP + 2;

// The sides of the program's big and small icon at 100 %.
const int BIG_ICON = 32;
const int SMALL_ICON = 16;

const char kNameMissing[] = "削除パターン名を入力してください";
const char kNameUnspellable[] = "削除パターン名に使えない文字が含まれています";

}  // namespace

CMainDlg::CMainDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent), m_searchDlg(nullptr), m_nFocusSel(0), m_bStopConfirmed(0), m_bDirty(0)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    // Relative directories of older settings files are taken from here.
    m_strStartDir = StartUpDirectory();
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE, m_btnUpdate);
    DDX_Control(pDX, IDC_PATTERN_COMBO, m_comboPattern);
    DDX_Control(pDX, IDC_SUBFOLDERS, m_chkSubfolders);
    DDX_Control(pDX, IDC_MASK_EDIT, m_editMask);
    DDX_Control(pDX, IDC_DIR_EDIT, m_editDir);
    DDX_Control(pDX, IDC_DIR_LIST, m_listDirs);
    DDX_Control(pDX, IDC_MASK_LIST, m_listMasks);
}

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_MESSAGE_VOID(WM_DPICHANGED, OnDpiChanged)
    ON_MESSAGE_VOID(WM_DROPFILES, OnDropFiles)
    ON_BN_CLICKED(IDCANCEL, OnQuit)
    ON_BN_CLICKED(IDC_ADD_MASK, OnAddMask)
    ON_BN_CLICKED(IDC_REMOVE_MASK, OnRemoveMask)
    ON_BN_CLICKED(IDC_ADD_DIR, OnAddDir)
    ON_BN_CLICKED(IDC_REMOVE_DIR, OnRemoveDir)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_LBN_SELCHANGE(IDC_MASK_LIST, OnSelchangeMaskList)
    ON_LBN_SELCHANGE(IDC_DIR_LIST, OnSelchangeDirList)
    ON_BN_CLICKED(IDC_UPDATE, OnUpdateSettings)
    ON_BN_CLICKED(IDC_SUBFOLDERS, OnSubfolders)
    ON_BN_CLICKED(IDC_NEW_PATTERN, OnNewPattern)
    ON_CBN_CLOSEUP(IDC_PATTERN_COMBO, OnCloseupPatternCombo)
    ON_CBN_SETFOCUS(IDC_PATTERN_COMBO, OnSetfocusPatternCombo)
    ON_BN_CLICKED(IDC_START_SEARCH, OnStartSearch)
    ON_BN_CLICKED(IDC_DELETE_PATTERN, OnDeletePattern)
    ON_CBN_DROPDOWN(IDC_PATTERN_COMBO, OnDropdownPatternCombo)
    ON_CBN_EDITCHANGE(IDC_PATTERN_COMBO, OnEditchangePatternCombo)
    ON_MESSAGE_VOID(WM_TIDYMOTH_WORK_CHANGED, OnWorkChanged)
    ON_MESSAGE_VOID(WM_TIDYMOTH_LOAD_REPORT, TellLoadOutcome)
END_MESSAGE_MAP()

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The About entry of the system menu.
    char about[256];
    if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
        HMENU menu = GetSystemMenu(FALSE);
        if (menu) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    ShowIcons(GetDpi());

    // Folders dropped from Explorer, also from a user's Explorer onto a
    // program run as administrator.
    ::DragAcceptFiles(m_hWnd, TRUE);
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), 0x0049u /* WM_COPYGLOBALDATA */})
        ::ChangeWindowMessageFilterEx(m_hWnd, message, MSGFLT_ALLOW, nullptr);

    RefillEntryLists();
    RefillPatternCombo();
    m_comboPattern.SetCurSel(0);
    MarkClean();

    if (m_patternSet.GetLoadOutcome() == LoadOutcome::Partial || m_patternSet.GetLoadOutcome() == LoadOutcome::Unreadable)
        PostMessage(WM_TIDYMOTH_LOAD_REPORT);
    return TRUE;
}

void CMainDlg::TellLoadOutcome()
{
    CString text;
    if (m_patternSet.GetPath()[0] == '\0') {
        text = "起動したディレクトリのパスが長すぎるか、使えない文字が含まれているため、設定ファイルを読み書きできません。";
    } else {
        text = "設定ファイル「";
        text += m_patternSet.GetPath();
        if (m_patternSet.GetLoadOutcome() == LoadOutcome::Partial) {
            text += "」を最後まで読み込めませんでした。\n読み込めた削除パターン:";
            for (int i = 0; i < m_patternSet.GetCount(); ++i) {
                text += "\n    ";
                text += m_patternSet.GetName(i);
            }
        } else {
            text += "」を読み込めませんでした。\n削除パターンは読み込まれていません。";
        }
        text += "\n「設定更新」を押すまで、設定ファイルは書き換えません。";
    }
    platform::ShowMessageBox(m_hWnd, text, kMessageCaption, MB_OK);
}

// ---- Window messages ------------------------------------------------------

void CMainDlg::OnSysCommand()
{
    if ((GetMessageWParam() & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlg(this);
        dlg.DoModal();
    } else {
        Default();
    }
}

POINT CMainDlg::IconOrigin(const RECT& client, int iconWidth, int iconHeight)
{
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    return POINT{(width - iconWidth + 1) / 2, (height - iconHeight + 1) / 2};
}

void CMainDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    RECT rect;
    GetClientRect(&rect);
    const int side = ScaleForDpi(BIG_ICON, BASE_DPI, GetDpi());
    POINT at = IconOrigin(rect, side, side);
    dc.DrawIcon(at.x, at.y, m_hIcon);
}

void CMainDlg::OnDpiChanged()
{
    ShowIcons(LOWORD(GetMessageWParam()));
    Default();
}

void CMainDlg::ShowIcons(int dpi)
{
    const auto load = [dpi](int side) {
        const int pixels = ScaleForDpi(side, BASE_DPI, dpi);
        return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                               pixels, pixels, LR_DEFAULTCOLOR));
    };
    HICON big = load(BIG_ICON), small = load(SMALL_ICON);
    if (!big || !small) {
        if (big)
            ::DestroyIcon(big);
        if (small)
            ::DestroyIcon(small);
        big = small = m_hIcon;
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (big != m_hIcon) {
        // The window has let go of the icons it showed before.
        m_bigIcon.Reset(big);
        m_smallIcon.Reset(small);
        m_hIcon = big;
    }
}

void CMainDlg::OnQueryDragIcon()
{
    SetMessageResult(reinterpret_cast<LRESULT>(m_hIcon));
}

// ---- The recurring steps --------------------------------------------------

void CMainDlg::RefillEntryLists()
{
    m_listMasks.ResetContent();
    m_listDirs.ResetContent();
    for (int i = 0; i < m_patternSet.GetMaskCount(); ++i)
        m_listMasks.AddString(m_patternSet.GetMask(i));
    for (int i = 0; i < m_patternSet.GetDirCount(); ++i)
        m_listDirs.AddString(m_patternSet.GetDir(i));
}

void CMainDlg::RefillPatternCombo()
{
    m_comboPattern.ResetContent();
    for (int i = 0; i < m_patternSet.GetCount(); ++i)
        m_comboPattern.AddString(m_patternSet.GetName(i));
}

void CMainDlg::MarkDirty()
{
    m_btnUpdate.EnableWindow(TRUE);
    m_bDirty = 1;
}

void CMainDlg::MarkClean()
{
    m_btnUpdate.EnableWindow(FALSE);
    m_bDirty = 0;
}

void CMainDlg::OnWorkChanged()
{
    EnablePatternCommands();
}

void CMainDlg::EnablePatternCommands()
{
    // While a search or a deletion pass runs, nothing may change the pattern
    // it works from, and no second one may start.
    const BOOL enable = IsWorking() ? FALSE : TRUE;
    const int ids[] = {IDC_START_SEARCH, IDC_NEW_PATTERN, IDC_DELETE_PATTERN, IDC_PATTERN_COMBO, IDC_ADD_MASK,
                       IDC_REMOVE_MASK,  IDC_ADD_DIR,     IDC_REMOVE_DIR,     IDC_SUBFOLDERS};
    for (int id : ids)
        ::EnableWindow(GetDlgItem(id), enable);
}

bool CMainDlg::SaveSettings()
{
    try {
        m_patternSet.Save();
        return true;
    } catch (const CFileException& e) {
        CString text = "設定を保存できませんでした。\n";
        text += e.GetErrorMessage();
        platform::ShowMessageBox(m_hWnd, text, kWarningCaption, MB_OK);
        return false;
    }
}

// ---- Pattern commands -----------------------------------------------------

void CMainDlg::OnQuit()
{
    // The pass must end before the program can: ask as its own button does.
    if (m_searchDlg.IsPassRunning() && !m_searchDlg.AskInterrupt())
        return;
    if (m_bDirty == 1 && platform::ShowMessageBox(m_hWnd, "いくつかの設定が更新されています\n変更を保存しますか？",
                                                  kConfirmCaption, MB_YESNO) == IDYES)
        OnUpdateSettings();
    if (platform::ShowMessageBox(m_hWnd, "Tidymoth を終了します\nよろしいですか？", kConfirmCaption, MB_YESNO) != IDYES)
        return;
    if (m_bSearching)
        m_bStopConfirmed = 1;  // the running search ends as after a confirmed stop
    EndDialog(-1);
}

void CMainDlg::OnUpdateSettings()
{
    CString text;
    if (!ReadPatternName(text))
        return;
    if (text.IsEmpty()) {
        platform::ShowMessageBox(m_hWnd, kNameMissing, kMessageCaption, MB_OK);
        return;
    }
    m_patternSet.SetName(text);
    if (!SaveSettings())
        return;  // still dirty; the combo box stays as it was
    RefillPatternCombo();
    m_comboPattern.SetCurSel(m_nFocusSel);
    MarkClean();
}

void CMainDlg::OnNewPattern()
{
    if (IsWorking())
        return;
    if (m_patternSet.GetCount() == MAX_PATTERNS) {
        platform::ShowMessageBox(m_hWnd, "削除パターンは２０種類までしか登録できません", kMessageCaption, MB_OK);
        return;
    }
    CString text;
    if (!ReadPatternName(text))
        return;
    m_listMasks.ResetContent();
    m_editMask.SetWindowText("");
    m_listDirs.ResetContent();
    m_editDir.SetWindowText("");
    m_chkSubfolders.SetCheck(BST_UNCHECKED);

    if (text.IsEmpty()) {
        platform::ShowMessageBox(m_hWnd, kNameMissing, kMessageCaption, MB_OK);
        return;
    }
    m_patternSet.SetName(text);
    m_patternSet.NewPattern();
    int item = m_comboPattern.AddString(m_patternSet.GetCurrentName());
    m_comboPattern.SetCurSel(item);
    m_nFocusSel = m_patternSet.GetCurrentIndex();
    MarkDirty();
}

void CMainDlg::OnDeletePattern()
{
    if (IsWorking())
        return;
    if (platform::ShowMessageBox(m_hWnd, "この削除パターンを削除してもよろしいですか？", kWarningCaption, MB_YESNO) != IDYES)
        return;
    if (m_patternSet.GetCount() == 1) {
        platform::ShowMessageBox(m_hWnd, "すべての削除パターンは削除できません", kWarningCaption, MB_OK);
        return;
    }
    // The selected item's pattern; with no item selected (text typed into
    // the field), the current pattern.
    int d = m_comboPattern.GetCurSel();
    if (d < 0 || d >= m_patternSet.GetCount())
        d = m_patternSet.GetCurrentIndex();
    m_patternSet.DeletePattern(d);
    m_listMasks.ResetContent();
    m_listDirs.ResetContent();
    m_patternSet.SetCurrent(d > 0 ? d - 1 : 0);
    RefillEntryLists();
    m_nFocusSel = m_patternSet.GetCurrentIndex();
    RefillPatternCombo();
    m_comboPattern.SetCurSel(m_nFocusSel);
    MarkDirty();
}

void CMainDlg::OnCloseupPatternCombo()
{
    int sel = m_comboPattern.GetCurSel();
    if (IsWorking()) {
        m_comboPattern.SetCurSel(m_patternSet.GetCurrentIndex());
        return;
    }
    // No item selected (text typed into the field): the current pattern stays.
    if (sel < 0 || sel >= m_patternSet.GetCount())
        sel = m_patternSet.GetCurrentIndex();
    m_listMasks.ResetContent();
    m_listDirs.ResetContent();
    m_patternSet.SetCurrent(sel);
    RefillEntryLists();
    m_nFocusSel = sel;
}

void CMainDlg::OnSetfocusPatternCombo()
{
    m_nFocusSel = m_comboPattern.GetCurSel();
}

void CMainDlg::OnDropdownPatternCombo()
{
    CString text;
    if (ReadPatternName(text))
        m_patternSet.SetName(text);
}

bool CMainDlg::ReadPatternName(CString& name)
{
    // A look-alike would be saved in place of what the user typed.
    if (m_comboPattern.GetExactWindowText(name))
        return true;
    platform::ShowMessageBox(m_hWnd, kNameUnspellable, kMessageCaption, MB_OK);
    return false;
}

void CMainDlg::OnEditchangePatternCombo()
{
    MarkDirty();
}
