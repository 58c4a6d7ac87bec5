// The search: the current pattern's directories walked once per mask, every
// matching file stored in the results window's result set, then listed there.
#include <cstdio>
#include <cstring>

#include "engine/search_logic.h"
#include "engine/ui_timing.h"
#include "platform/mbcs.h"
#include "platform/win/ui_seam.h"
#include "ui/main_dlg.h"

namespace {

CString DecimalText(long value)
{
    char text[16];
    std::sprintf(text, "%ld", value);
    return CString(text);
}

}  // namespace

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
        m_bListing = false;
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
    m_bResultLimitReached = false;
    if (!dlg.Create(IDD_SEARCH, this))
        return;
    dlg.ShowWindow(SW_SHOWNORMAL);
    dlg.m_chkDeleteThis.EnableWindow(FALSE);
    dlg.m_chkToRecycle.EnableWindow(FALSE);
    dlg.m_listResults.EnableWindow(FALSE);
    dlg.m_btnAction.SetWindowText("検索中止");
    m_bStopConfirmed = 0;
    // The bar is drawn only now and then while the walk and the listing run
    // (see the poll).
    m_searchProgress.Discard();
    SuspendRedraw(dlg.m_progress);
    m_lastDrainMs = m_lastRedrawMs = ::GetTickCount();

    for (int i = 0; i < m_patternSet.GetDirCount(); ++i) {
        for (int j = 0; j < m_patternSet.GetMaskCount(); ++j) {
            // Result paths are absolute and name exactly the file found: a
            // relative directory is taken from the start-up directory, and a
            // mask with a folder part is not searched.
            CString mask = m_patternSet.GetMask(j);
            CString dir = m_patternSet.GetDir(i);
            if (IsPlainMask(mask) && (IsAbsolutePath(dir) || !m_strStartDir.IsEmpty()))
                SearchDirectory(ResolveDirectory(dir, m_strStartDir), mask, m_patternSet.GetDirFlag(i));
            if (WalkMustEnd())
                break;
        }
        if (WalkMustEnd())
            break;
    }

    if (m_bStopConfirmed == 1) {
        m_searchProgress.Discard();
        if (dlg.HasWindow())
            dlg.DestroyWindow();
        return;
    }
    ListResults();
}

void CMainDlg::ListResults()
{
    CSearchDlg& dlg = m_searchDlg;
    dlg.m_staticStatus.SetWindowText("リストアップ中....しばらくお待ちください");
    dlg.m_chkDeleteThis.EnableWindow(TRUE);
    dlg.m_chkToRecycle.EnableWindow(TRUE);
    dlg.m_listResults.EnableWindow(TRUE);
    m_searchProgress.SetRange(0, dlg.m_nResultCount);
    dlg.m_staticProgressMax.SetWindowText(DecimalText(dlg.m_nResultCount));
    dlg.m_btnAction.EnableWindow(FALSE);

    // The list too is drawn only now and then while it fills.
    m_bListing = true;
    SuspendRedraw(dlg.m_listResults);
    int longest = -1;
    for (int i = 0; i < dlg.m_nResultCount; ++i) {
        dlg.m_listResults.AddString(dlg.m_strResult[i]);
        if (longest < 0 || dlg.m_strResult[i].GetLength() > dlg.m_strResult[longest].GetLength())
            longest = i;
        m_searchProgress.SetPos(i);
        PumpAndCheckStop();
        if (!dlg.HasWindow())
            break;
        if (m_bStopConfirmed == 1) {
            // Stopped while listing: only listed results may ever be deleted,
            // and the bar and its label count only those.
            dlg.m_nResultCount = i + 1;
            m_searchProgress.SetRange(0, dlg.m_nResultCount);
            m_searchProgress.SetPos(i);
            dlg.m_staticProgressMax.SetWindowText(DecimalText(dlg.m_nResultCount));
            break;
        }
    }
    m_bListing = false;
    if (!dlg.HasWindow()) {
        m_searchProgress.Discard();
        return;  // closed under the listing: nothing more to show
    }
    m_searchProgress.Flush();
    ResumeRedraw(dlg.m_progress);
    ResumeRedraw(dlg.m_listResults);
    if (longest >= 0)
        FitHorizontalExtent(dlg.m_listResults, dlg.m_strResult[longest]);
    dlg.m_bBusy = 0;

    if (dlg.m_nResultCount != 0) {
        dlg.m_bReadyToDelete = 1;
        dlg.m_btnAction.SetWindowText("削除");
        if (m_bResultLimitReached) {
            CString text = "ファイルが ";
            text += DecimalText(MAX_RESULTS);
            text += " 個に達したので検索を打ち切りました。削除ボタンを押すとファイルを削除します";
            dlg.m_staticStatus.SetWindowText(text);
        } else {
            dlg.m_staticStatus.SetWindowText("検索が終了しました。削除ボタンを押すとファイルを削除します");
        }
        dlg.m_btnAction.EnableWindow(TRUE);
        dlg.m_listResults.SetSel(0, TRUE);
        dlg.OnSelchangeResultList();
    } else {
        dlg.m_btnAction.SetWindowText("閉じる");
        dlg.m_btnAction.EnableWindow(TRUE);
        dlg.m_listResults.EnableWindow(FALSE);
        dlg.m_chkToRecycle.EnableWindow(FALSE);
        dlg.m_chkDeleteThis.EnableWindow(FALSE);
        dlg.m_staticStatus.SetWindowText("何も検出されませんでした。閉じるボタンを押してください");
    }
}

void CMainDlg::SearchDirectory(CString dir, CString mask, int recurse)
{
    if (!::SetCurrentDirectoryA(dir))
        return;
    UpdateSearchStatus(dir);

    CSearchDlg& dlg = m_searchDlg;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA(mask, &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                if (dlg.m_nResultCount >= MAX_RESULTS) {
                    // The result set is full: the walk ends here, and what
                    // was found is listed.
                    m_bResultLimitReached = true;
                    break;
                }
                int n = dlg.m_nResultCount;
                dlg.m_strResult[n] = JoinPath(dir, entry.cFileName);
                dlg.m_nDeleteFlag[n] = 1;
                dlg.m_nRecycleFlag[n] = 1;
                dlg.m_nResultCount = n + 1;
                m_searchProgress.SetPos(dlg.m_nResultCount + 1);
            }
            PumpAndCheckStop();
            if (WalkMustEnd())
                break;
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    // Without subfolders the pass over them could change nothing.
    if (WalkMustEnd() || recurse != 1)
        return;

    find = ::FindFirstFileA("*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || std::strcmp(entry.cFileName, ".") == 0 ||
            std::strcmp(entry.cFileName, "..") == 0)
            continue;
        dir = JoinPath(dir, entry.cFileName);
        // Junctions and symbolic links are not followed: they lead out of the
        // chosen trees, or round in a loop.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            SearchDirectory(dir, mask, 1);
        if (WalkMustEnd())
            break;
        CutAtLastSeparator(dir);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
}

void CMainDlg::UpdateSearchStatus(CString dir)
{
    CSearchDlg& dlg = m_searchDlg;
    if (int maximum = ProgressMaximumFor(dlg.m_nResultCount)) {
        m_searchProgress.SetRange(0, maximum);
        dlg.m_staticProgressMax.SetWindowText(DecimalText(maximum));
    }
    if (MbsCmp(dir, m_strLastDir) != 0) {
        m_strLastDir = dir;
        dlg.m_staticStatus.SetWindowText(dir + "を検索中");
    }
}

void CMainDlg::PumpAndCheckStop()
{
    CSearchDlg& dlg = m_searchDlg;
    if (DrainDue(m_lastDrainMs)) {
        m_searchProgress.Flush();
        const bool redraw = RedrawDue(m_lastRedrawMs);
        const bool listing = m_bListing;
        if (redraw) {
            ResumeRedraw(dlg.m_progress);
            if (listing)
                ResumeRedraw(dlg.m_listResults);
        }
        DrainMessageQueue();
        if (redraw && dlg.HasWindow()) {
            SuspendRedraw(dlg.m_progress);
            if (listing)
                SuspendRedraw(dlg.m_listResults);
        }
    }
    // A results window closed under the search ends it.
    if (!dlg.HasWindow()) {
        m_bStopConfirmed = 1;
        return;
    }
    if (dlg.m_bBusy != 0 || m_bStopConfirmed != 0)
        return;
    if (platform::ShowMessageBox(m_hWnd, "中止ボタンが押されました\n中止しますか？", "警告", MB_YESNO) == IDYES)
        m_bStopConfirmed = 1;
    else if (dlg.HasWindow())
        dlg.m_bBusy = 1;
    else
        m_bStopConfirmed = 1;
}
