#include "ui/search_dlg.h"

#include <cstdio>

#include "engine/dpi_scale.h"
#include "engine/selection_logic.h"
#include "platform/win/gdi.h"
#include "platform/win/wide_text.h"

namespace {

// Room after the widest line, so that its end is not at the list's edge, at 100 %.
const int LINE_MARGIN = 8;

// Posted at a change of DPI, to fit the list once the system has laid the
// window out anew.
const UINT WM_TIDYMOTH_FIT_TO_DPI = WM_APP + 3;

CString DecimalText(long value)
{
    char text[16];
    std::sprintf(text, "%ld", value);
    return CString(text);
}

}  // namespace

CSearchDlg::CSearchDlg(CWnd* pParent) : CDialog(IDD_SEARCH, pParent), m_bBusy(1), m_bReadyToDelete(0), m_nResultCount(0)
{
    for (int i = 0; i < MAX_RESULTS; ++i) {
        m_nDeleteFlag[i] = 0;
        m_nRecycleFlag[i] = 0;
        m_nLineWidth[i] = 0;
    }
}

CSearchDlg::~CSearchDlg() = default;

void CSearchDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TO_RECYCLE, m_chkToRecycle);
    DDX_Control(pDX, IDC_DELETE_THIS, m_chkDeleteThis);
    DDX_Control(pDX, IDC_RESULT_LIST, m_listResults);
    DDX_Control(pDX, IDC_ACTION, m_btnAction);
    DDX_Control(pDX, IDC_STATUS, m_staticStatus);
    DDX_Control(pDX, IDC_PROGRESS_MAX, m_staticProgressMax);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BEGIN_MESSAGE_MAP(CSearchDlg, CDialog)
    ON_WM_CLOSE()
    ON_MESSAGE_VOID(WM_DPICHANGED, OnDpiChanged)
    ON_MESSAGE_VOID(WM_TIDYMOTH_FIT_TO_DPI, FitToDpi)
    ON_BN_CLICKED(IDC_ACTION, OnAction)
    ON_LBN_SELCHANGE(IDC_RESULT_LIST, OnSelchangeResultList)
    ON_BN_CLICKED(IDC_DELETE_THIS, OnDeleteThis)
    ON_BN_CLICKED(IDC_TO_RECYCLE, OnToRecycle)
END_MESSAGE_MAP()

BOOL CSearchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progress.SetRange(0, 100);
    m_bReadyToDelete = 0;
    // The list is drawn, and its lines measured, in a font of the window's
    // own, made again whenever the window's DPI changes.
    m_nDpi = m_nFontDpi = GetDpi();
    LOGFONTW font;
    if (::GetObjectW(GetFont(), sizeof font, &font)) {
        m_listFont.Reset(::CreateFontIndirectW(&font));
        if (m_listFont.Get())
            m_listResults.SetFont(m_listFont.Get());
    }
    return TRUE;
}

void CSearchDlg::OnDpiChanged()
{
    m_nDpi = LOWORD(GetMessageWParam());
    PostMessage(WM_TIDYMOTH_FIT_TO_DPI);
    Default();
}

void CSearchDlg::FitToDpi()
{
    // A listing measures in the font it began with: it fits the list when it ends.
    if (m_bSearching || m_nFontDpi == m_nDpi || !HasWindow())
        return;
    LOGFONTW font;
    if (!::GetObjectW(m_listResults.GetFont(), sizeof font, &font))
        return;
    font.lfHeight = ScaleForDpi(font.lfHeight, m_nFontDpi, m_nDpi);
    font.lfWidth = ScaleForDpi(font.lfWidth, m_nFontDpi, m_nDpi);
    HFONT made = ::CreateFontIndirectW(&font);
    if (!made)
        return;
    m_listResults.SetFont(made);
    m_listFont.Reset(made);
    m_nFontDpi = m_nDpi;
    MeasureLines();
}

void CSearchDlg::MeasureMarks(HDC dc)
{
    for (int i = 0; i < 2; ++i) {
        m_wstrMark[i] = MarkFor(i);
        m_nMarkWidth[i] = CListBox::TextWidth(dc, m_wstrMark[i]);
    }
}

void CSearchDlg::MeasureLines()
{
    CWindowDC dc(m_listResults.m_hWnd);
    CSelectedObject font(dc.GetSafeHdc(), m_listResults.GetFont());
    MeasureMarks(dc.GetSafeHdc());
    // Each line as it shows now, its mark included.
    m_nWidestLine = 0;
    std::wstring line;
    for (int i = 0; i < m_listResults.GetCount() && i < MAX_RESULTS; ++i) {
        m_nLineWidth[i] = m_listResults.GetText(i, line) == LB_ERR ? 0 : CListBox::TextWidth(dc.GetSafeHdc(), line);
        m_nWidestLine = m_nLineWidth[i] > m_nWidestLine ? m_nLineWidth[i] : m_nWidestLine;
    }
    const int extent = m_nWidestLine + ScaleForDpi(LINE_MARGIN, BASE_DPI, m_nDpi);
    if (m_bPassRunning)
        m_drain.SetHorizontalExtent(m_listResults, extent);
    else
        m_listResults.SetHorizontalExtent(extent);
}

// The search and the pass work on this window until they end: Enter and
// Escape, whichever loop delivers them, do nothing then.
void CSearchDlg::OnOK()
{
    if (m_bSearching || m_bPassRunning)
        return;
    DestroyWindow();
}

void CSearchDlg::OnCancel()
{
    if (m_bSearching || m_bPassRunning)
        return;
    CDialog::OnCancel();
}

void CSearchDlg::SetSearching(bool searching)
{
    m_bSearching = searching;
    // IDOK names no control here: Enter then goes to OnOK.
    if (HasWindow())
        SendMessage(DM_SETDEFID, searching ? IDOK : IDC_ACTION);
}

// ---- The action button and the close box -----------------------------------

CSearchDlg::State CSearchDlg::CurrentState() const
{
    if (m_bSearching)
        return m_bBusy == 1 ? State::Searching : State::StopRequested;
    if (m_bReadyToDelete == 1)
        return m_bBusy == 1 ? State::Deleting : State::ReadyToDelete;
    return State::Closable;
}

void CSearchDlg::OnAction()
{
    switch (CurrentState()) {
    case State::Searching:
        m_bBusy = 0;  // a stop request: the search's poll asks the question
        break;
    case State::ReadyToDelete:
        RunDeletionPass();
        break;
    case State::Deleting:
        AskInterrupt();
        break;
    case State::StopRequested:  // the question is on its way; the window may go
    case State::Closable:
        DestroyWindow();
        break;
    }
}

void CSearchDlg::OnClose()
{
    const State state = CurrentState();
    if (state == State::Searching || state == State::Deleting)
        OnAction();
    else
        DestroyWindow();
}

// ---- The search -------------------------------------------------------------

bool CSearchDlg::BeginSearch(CWnd* owner)
{
    // A window left open, or hidden by Escape, goes before the new one comes.
    if (HasWindow())
        DestroyWindow();
    m_nResultCount = 0;
    m_bBusy = 1;
    m_nWidestLine = 0;
    if (!Create(IDD_SEARCH, owner))
        return false;
    SetSearching(true);
    ShowWindow(SW_SHOWNORMAL);
    ShowSearching();
    m_drain.Begin(m_progress);
    return true;
}

void CSearchDlg::AddResult(const CString& path, const CFoundFile& file)
{
    const int n = m_nResultCount;
    m_strResult[n] = path;
    m_found[n] = file;
    m_nDeleteFlag[n] = 1;
    m_nRecycleFlag[n] = 1;
    m_nResultCount = n + 1;
    m_drain.SetPos(m_nResultCount + 1);
}

bool CSearchDlg::PollSearch()
{
    m_drain.Poll();
    return HasWindow();
}

void CSearchDlg::EndSearchUnlisted()
{
    m_drain.Abandon();
    SetSearching(false);
    if (HasWindow())
        DestroyWindow();
}

void CSearchDlg::ListResults(const std::function<bool()>& stopConfirmed, bool limitReached)
{
    ShowListing();
    {
        // Each line is measured as it comes, in the list's font.
        CWindowDC dc(m_listResults.m_hWnd);
        CSelectedObject font(dc.GetSafeHdc(), m_listResults.GetFont());
        MeasureMarks(dc.GetSafeHdc());
        for (int i = 0; i < m_nResultCount; ++i) {
            const std::wstring line = m_found[i].Shown();
            m_listResults.AddString(line);
            m_drain.SetPos(i);
            m_nLineWidth[i] = CListBox::TextWidth(dc.GetSafeHdc(), line);
            m_nWidestLine = m_nLineWidth[i] > m_nWidestLine ? m_nLineWidth[i] : m_nWidestLine;
            const bool stop = stopConfirmed();
            if (!HasWindow())
                break;
            if (stop) {
                // Stopped while listing: only listed results may ever be
                // deleted, and the bar and its label count only those.
                m_nResultCount = i + 1;
                ShowProgressMaximum(m_nResultCount);
                m_drain.SetPos(i);
                break;
            }
        }
    }
    SetSearching(false);
    if (!HasWindow()) {
        m_drain.Abandon();
        return;  // closed under the listing: nothing more to show
    }
    m_drain.End();
    m_listResults.SetHorizontalExtent(m_nWidestLine + ScaleForDpi(LINE_MARGIN, BASE_DPI, m_nDpi));
    FitToDpi();
    m_bBusy = 0;
    if (m_nResultCount != 0) {
        m_bReadyToDelete = 1;
        ShowReadyToDelete(limitReached);
    } else {
        ShowNothingFound();
    }
}

// ---- The window's states --------------------------------------------------

void CSearchDlg::ShowSearching()
{
    m_chkDeleteThis.EnableWindow(FALSE);
    m_chkToRecycle.EnableWindow(FALSE);
    m_listResults.EnableWindow(FALSE);
    m_btnAction.SetWindowText("検索中止");
}

void CSearchDlg::ShowListing()
{
    // The walk's last moves and status line first, as they would have been.
    m_drain.Flush();
    m_staticStatus.SetWindowText("リストアップ中....しばらくお待ちください");
    m_chkDeleteThis.EnableWindow(TRUE);
    m_chkToRecycle.EnableWindow(TRUE);
    m_listResults.EnableWindow(TRUE);
    ShowProgressMaximum(m_nResultCount);
    m_btnAction.EnableWindow(FALSE);
    // The list too is drawn only now and then while it fills.
    m_drain.Quiet(m_listResults);
}

void CSearchDlg::ShowReadyToDelete(bool limitReached)
{
    m_btnAction.SetWindowText("削除");
    if (limitReached) {
        CString text = "ファイルが ";
        text += DecimalText(MAX_RESULTS);
        text += " 個に達したので検索を打ち切りました。削除ボタンを押すとファイルを削除します";
        m_staticStatus.SetWindowText(text);
    } else {
        m_staticStatus.SetWindowText("検索が終了しました。削除ボタンを押すとファイルを削除します");
    }
    m_btnAction.EnableWindow(TRUE);
    // Selecting this way sends no notification: the boxes are set here.
    m_listResults.SetSel(0, TRUE);
    OnSelchangeResultList();
}

void CSearchDlg::ShowNothingFound()
{
    m_btnAction.SetWindowText("閉じる");
    m_btnAction.EnableWindow(TRUE);
    m_listResults.EnableWindow(FALSE);
    m_chkToRecycle.EnableWindow(FALSE);
    m_chkDeleteThis.EnableWindow(FALSE);
    m_staticStatus.SetWindowText("何も検出されませんでした。閉じるボタンを押してください");
}

void CSearchDlg::ShowDeleting()
{
    m_progress.SetPos(0);
    m_staticStatus.SetWindowText("ファイルを削除中です・・・しばらくお待ちください");
    m_btnAction.SetWindowText("削除中");
}

void CSearchDlg::ShowDone()
{
    m_staticStatus.SetWindowText("削除が完了しました");
    m_chkToRecycle.EnableWindow(FALSE);
    m_chkDeleteThis.EnableWindow(FALSE);
    m_btnAction.SetWindowText("終了");
}

// ---- The search's loop ------------------------------------------------------

void CSearchDlg::ShowProgressMaximum(int maximum)
{
    m_drain.SetRange(0, maximum);
    m_staticProgressMax.SetWindowText(DecimalText(maximum));
}

void CSearchDlg::ShowSearchingIn(const CString& dir)
{
    m_drain.SetStatus(m_staticStatus, dir + "を検索中");
}

void CSearchDlg::FitMarkedLine(int line, int result)
{
    // A line's width in the list's font is the sum of its characters' (list
    // boxes draw without kerning): its mark adds the mark's own width.
    m_nLineWidth[line] += m_nMarkWidth[result == 1 ? 1 : 0];
    if (m_nLineWidth[line] <= m_nWidestLine)
        return;
    m_nWidestLine = m_nLineWidth[line];
    m_drain.SetHorizontalExtent(m_listResults, m_nWidestLine + ScaleForDpi(LINE_MARGIN, BASE_DPI, m_nDpi));
}

// ---- The lines' flags -------------------------------------------------------

int CSearchDlg::GetSelectedLines()
{
    int count = m_listResults.GetSelCount();
    if (count <= 0)
        return 0;
    if (count > MAX_RESULTS)
        count = MAX_RESULTS;
    int got = m_listResults.GetSelItems(count, m_selected);
    return got < 0 ? 0 : got;
}

void CSearchDlg::ShowFlags(CButton& box, const int* flags, int count)
{
    box.SetCheck(CheckStateFor(flags, m_selected, count));
}

void CSearchDlg::OnSelchangeResultList()
{
    // Every selected line counts, also beyond 32,000; with none
    // selected both boxes show unchecked.
    int count = GetSelectedLines();
    ShowFlags(m_chkToRecycle, m_nRecycleFlag, count);
    ShowFlags(m_chkDeleteThis, m_nDeleteFlag, count);
}

void CSearchDlg::ApplyBoxClick(CButton& box, int* flags)
{
    int state = box.GetCheck();
    int shown = ApplyCheckClick(state, flags, m_selected, GetSelectedLines());
    if (shown != state)
        box.SetCheck(shown);
}

void CSearchDlg::OnDeleteThis()
{
    ApplyBoxClick(m_chkDeleteThis, m_nDeleteFlag);
}

void CSearchDlg::OnToRecycle()
{
    ApplyBoxClick(m_chkToRecycle, m_nRecycleFlag);
}
