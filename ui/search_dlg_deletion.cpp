// The deletion pass of the results window: every ticked result deleted
// permanently or into the Recycle Bin, and its line marked with the outcome.
#include "platform/win/ui_seam.h"
#include "platform/win/wide_text.h"
#include "ui/search_dlg.h"
#include "ui/captions.h"

void CSearchDlg::SetPassRunning(bool running)
{
    m_bPassRunning = running;
    if (CWnd* owner = GetParentWnd())
        ::SendMessageA(owner->m_hWnd, WM_TIDYMOTH_WORK_CHANGED, 0, 0);
}

void CSearchDlg::RunDeletionPass()
{
    ShowDeleting();
    m_bBusy = 1;
    SetPassRunning(true);

    // The list and the bar are drawn only now and then while marks appear.
    m_drain.Begin(m_progress);
    m_drain.Quiet(m_listResults);
    for (int i = 0; i < m_nResultCount; ++i) {
        if (m_bBusy == 0)
            break;
        if (m_nDeleteFlag[i] != 1)
            continue;
        int result = m_nRecycleFlag[i] == 1 ? DeleteToRecycleBin(m_found[i]) : DeleteOneFile(m_found[i]);
        MarkResult(i, result);
        m_drain.SetPos(i);
        PumpMessages();
    }
    m_drain.End();

    ShowDone();
    m_bReadyToDelete = 0;
    m_bBusy = 0;
    SetPassRunning(false);
}

bool CSearchDlg::AskInterrupt()
{
    // The main window's quit asks too: never a second question on the first.
    if (m_bAskingInterrupt)
        return false;
    m_bAskingInterrupt = true;
    const bool yes = platform::ShowMessageBox(m_hWnd, "処理を中断しますか？", kWarningCaption, MB_YESNO) == IDYES;
    m_bAskingInterrupt = false;
    if (yes)
        m_bBusy = 0;
    return yes;
}

int CSearchDlg::DeleteOneFile(const CFoundFile& file)
{
    return m_deleter.DeletePermanently(file).Deleted() ? 1 : 0;
}

int CSearchDlg::DeleteToRecycleBin(const CFoundFile& file)
{
    // Owned by this window, so that nothing else runs while the shell asks.
    return m_deleter.MoveToRecycleBin(file, m_hWnd).Deleted() ? 1 : 0;
}

void CSearchDlg::MarkResult(int line, int result)
{
    // The line read and written whole, so a name the code page cannot spell
    // stays as it was.
    std::wstring text;
    if (m_listResults.GetText(line, text) == LB_ERR)
        return;
    text += m_wstrMark[result == 1 ? 1 : 0];
    m_listResults.DeleteString(line);
    m_listResults.InsertString(line, text);
    FitMarkedLine(line, result);
}

void CSearchDlg::PumpMessages()
{
    m_drain.Poll();
}
