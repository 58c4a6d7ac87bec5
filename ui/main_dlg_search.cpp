// The search: each of the current pattern's directories walked for every
// mask, every matching file stored in the results window's result set, then
// listed there.
#include "engine/progress_schedule.h"
#include "platform/mbcs.h"
#include "platform/win/ui_seam.h"
#include "ui/main_dlg.h"
#include "ui/captions.h"

void CMainDlg::OnStartSearch()
{
    // One search or deletion at a time; the running one is not disturbed.
    if (IsWorking())
        return;
    m_bSearching = true;
    EnablePatternCommands();
    try {
        RunSearch();
    } catch (...) {
        m_bSearching = false;
        EnablePatternCommands();
        throw;
    }
    m_bSearching = false;
    EnablePatternCommands();
}

void CMainDlg::RunSearch()
{
    CSearchDlg& dlg = GetSearchDlg();
    if (!dlg.BeginSearch(this))
        return;
    m_bStopConfirmed = 0;

    // The pattern cannot change while the search runs. Result paths are
    // absolute and name exactly the file found.
    m_search.Run(m_patternSet, m_strStartDir);

    if (m_bStopConfirmed == 1) {
        dlg.EndSearchUnlisted();
        return;
    }
    dlg.ListResults(
        [this] {
            PumpAndCheckStop();
            return m_bStopConfirmed == 1;
        },
        m_search.LimitReached());
}

void CMainDlg::UpdateSearchStatus(CString dir)
{
    CSearchDlg& dlg = GetSearchDlg();
    if (int maximum = ProgressMaximumFor(dlg.GetResultCount()))
        dlg.ShowProgressMaximum(maximum);
    if (MbsCmp(dir, m_strLastDir) != 0) {
        m_strLastDir = dir;
        dlg.ShowSearchingIn(dir);
    }
}

void CMainDlg::PumpAndCheckStop()
{
    CSearchDlg& dlg = GetSearchDlg();
    // A results window closed under the search ends it.
    if (!dlg.PollSearch()) {
        m_bStopConfirmed = 1;
        return;
    }
    if (!dlg.IsStopRequested() || m_bStopConfirmed != 0)
        return;
    if (platform::ShowMessageBox(m_hWnd, "中止ボタンが押されました\n中止しますか？", kWarningCaption, MB_YESNO) == IDYES)
        m_bStopConfirmed = 1;
    else if (dlg.HasWindow())
        dlg.ContinueSearch();
    else
        m_bStopConfirmed = 1;
}

// ---- What the walk asks of the search --------------------------------------

void CMainDlg::DirectoryEntered(const CString& dir)
{
    UpdateSearchStatus(dir);
}

int CMainDlg::ResultCount() const
{
    return m_searchDlg.GetResultCount();
}

void CMainDlg::FileFound(const CString& path, const CFoundFile& file)
{
    m_searchDlg.AddResult(path, file);
}

bool CMainDlg::StopNow()
{
    PumpAndCheckStop();
    return m_bStopConfirmed == 1;
}
