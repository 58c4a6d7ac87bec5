#include "ui/search_dlg.h"

#include <cstdio>

#include "engine/selection_logic.h"

namespace {

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
    return TRUE;
}

void CSearchDlg::OnOK()
{
    if (m_bPassRunning)
        return;  // the pass works on this window until it ends
    DestroyWindow();
}

void CSearchDlg::OnCancel()
{
    if (m_bPassRunning)
        return;
    CDialog::OnCancel();
}

// ---- The action button and the close box -----------------------------------

void CSearchDlg::OnAction()
{
    if (m_bBusy == 0 && m_bReadyToDelete == 0)
        DestroyWindow();
    else if (m_bBusy == 1 && m_bReadyToDelete == 1)
        AskInterrupt();
    else if (m_bBusy == 0 && m_bReadyToDelete == 1)
        RunDeletionPass();
    else
        m_bBusy = 0;  // a stop request: the search's poll asks the question
}

void CSearchDlg::OnClose()
{
    if (m_bBusy == 1)
        OnAction();
    else
        DestroyWindow();
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

void CSearchDlg::AddResultLine(int i)
{
    m_listResults.AddString(m_wstrResult[i]);
    m_drain.SetPos(i);
}

void CSearchDlg::FitLines(int longest)
{
    if (longest >= 0)
        m_listResults.SetHorizontalExtentFor(m_wstrResult[longest]);
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
    // Every selected line counts, also beyond MAX_SEL_ITEMS; with none
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
