// The search: each of the current pattern's directories walked for every
// mask, every matching file stored in the results window's result set, then
// listed there.
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
    CSearchDlg& dlg = m_searchDlg;
    // A window left open, or hidden by Escape, goes before the new one comes.
    if (dlg.HasWindow())
        dlg.DestroyWindow();

    dlg.m_nResultCount = 0;
    dlg.m_bBusy = 1;
    m_walk.Reset();
    if (!dlg.Create(IDD_SEARCH, this))
        return;
    dlg.ShowWindow(SW_SHOWNORMAL);
    dlg.ShowSearching();
    m_bStopConfirmed = 0;
    dlg.BeginLoop();

    // The pattern cannot change while the search runs.
    const std::vector<CString> masks = SearchedMasks();
    for (int i = 0; i < m_patternSet.GetDirCount(); ++i) {
        // Result paths are absolute and name exactly the file found: a
        // relative directory is taken from the start-up directory, and an
        // empty entry names no directory at all.
        CString dir = m_patternSet.GetDir(i);
        if (!dir.IsEmpty() && (IsAbsolutePath(dir) || !m_strStartDir.IsEmpty()))
            SearchDirectory(ResolveDirectory(dir, m_strStartDir), masks, m_patternSet.GetDirFlag(i));
        if (m_walk.MustEnd())
            break;
    }

    if (m_bStopConfirmed == 1) {
        dlg.AbandonLoop();
        if (dlg.HasWindow())
            dlg.DestroyWindow();
        return;
    }
    ListResults();
}

void CMainDlg::ListResults()
{
    CSearchDlg& dlg = m_searchDlg;
    dlg.ShowListing();
    int longest = -1;
    for (int i = 0; i < dlg.m_nResultCount; ++i) {
        dlg.AddResultLine(i);
        if (longest < 0 || dlg.m_strResult[i].GetLength() > dlg.m_strResult[longest].GetLength())
            longest = i;
        PumpAndCheckStop();
        if (!dlg.HasWindow())
            break;
        if (m_bStopConfirmed == 1) {
            // Stopped while listing: only listed results may ever be deleted,
            // and the bar and its label count only those.
            dlg.m_nResultCount = i + 1;
            dlg.ShowProgressMaximum(dlg.m_nResultCount);
            dlg.MoveProgress(i);
            break;
        }
    }
    if (!dlg.HasWindow()) {
        dlg.AbandonLoop();
        return;  // closed under the listing: nothing more to show
    }
    dlg.EndLoop();
    dlg.FitLines(longest);
    dlg.m_bBusy = 0;

    if (dlg.m_nResultCount != 0) {
        dlg.m_bReadyToDelete = 1;
        dlg.ShowReadyToDelete(m_walk.LimitReached());
    } else {
        dlg.ShowNothingFound();
    }
}

std::vector<CString> CMainDlg::SearchedMasks() const
{
    // A mask with a folder part would name files of another folder, and an
    // empty one (only a damaged settings file holds one) names none.
    std::vector<CString> masks;
    for (int j = 0; j < m_patternSet.GetMaskCount(); ++j) {
        CString mask = m_patternSet.GetMask(j);
        if (!mask.IsEmpty() && IsPlainMask(mask))
            masks.push_back(mask);
    }
    return masks;
}

void CMainDlg::SearchDirectory(const CString& dir, const std::vector<CString>& masks, int recurse)
{
    m_walk.Walk(dir, masks, recurse);
}

void CMainDlg::UpdateSearchStatus(CString dir)
{
    CSearchDlg& dlg = m_searchDlg;
    if (int maximum = ProgressMaximumFor(dlg.m_nResultCount))
        dlg.ShowProgressMaximum(maximum);
    if (MbsCmp(dir, m_strLastDir) != 0) {
        m_strLastDir = dir;
        dlg.ShowSearchingIn(dir);
    }
}

void CMainDlg::PumpAndCheckStop()
{
    CSearchDlg& dlg = m_searchDlg;
    dlg.DrainIfDue();
    // A results window closed under the search ends it.
    if (!dlg.HasWindow()) {
        m_bStopConfirmed = 1;
        return;
    }
    if (dlg.m_bBusy != 0 || m_bStopConfirmed != 0)
        return;
    if (platform::ShowMessageBox(m_hWnd, "中止ボタンが押されました\n中止しますか？", kWarningCaption, MB_YESNO) == IDYES)
        m_bStopConfirmed = 1;
    else if (dlg.HasWindow())
        dlg.m_bBusy = 1;
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
    return m_searchDlg.m_nResultCount;
}

void CMainDlg::FileFound(const CString& path, const std::wstring& exactPath, const std::wstring& finalPath)
{
    CSearchDlg& dlg = m_searchDlg;
    int n = dlg.m_nResultCount;
    dlg.m_strResult[n] = path;
    dlg.m_wstrResult[n] = exactPath;
    dlg.m_wstrFinalPath[n] = finalPath;
    dlg.m_nDeleteFlag[n] = 1;
    dlg.m_nRecycleFlag[n] = 1;
    dlg.m_nResultCount = n + 1;
    dlg.MoveProgress(dlg.m_nResultCount + 1);
}

bool CMainDlg::StopNow()
{
    PumpAndCheckStop();
    return m_bStopConfirmed == 1;
}
