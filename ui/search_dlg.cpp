#include "ui/search_dlg.h"

#include "engine/selection_logic.h"

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
