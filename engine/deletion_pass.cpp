// The deletion pass of the results window: every ticked result deleted
// permanently or into the Recycle Bin, and its line marked with the outcome.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "engine/ui_timing.h"
#include "platform/win/ui_seam.h"
#include "ui/search_dlg.h"

namespace {

// The longest path the system takes, and the two zero bytes that end the
// shell's list of names. Longer paths are refused, never cut.
const int RECYCLE_PATH_MAX = 32767;
char g_recycleSource[RECYCLE_PATH_MAX + 2];

// What was listed is what may be deleted: a path that is now a directory, or
// gone, is not handed to the system (the shell would take a whole tree).
bool IsPlainFile(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void CSearchDlg::SetPassRunning(bool running)
{
    m_bPassRunning = running;
    if (CWnd* owner = GetParentWnd())
        ::SendMessageA(owner->m_hWnd, WM_TIDYMOTH_WORK_CHANGED, 0, 0);
}

void CSearchDlg::RunDeletionPass()
{
    m_passProgress.Discard();
    m_progress.SetPos(0);
    m_staticStatus.SetWindowText("ファイルを削除中です・・・しばらくお待ちください");
    m_btnAction.SetWindowText("削除中");
    m_bBusy = 1;
    SetPassRunning(true);

    // The list and the bar are drawn only now and then while marks appear.
    m_lastDrainMs = m_lastRedrawMs = ::GetTickCount();
    SuspendRedraw(m_listResults);
    SuspendRedraw(m_progress);
    for (int i = 0; i < m_nResultCount; ++i) {
        if (m_bBusy == 0)
            break;
        if (m_nDeleteFlag[i] != 1)
            continue;
        int result = m_nRecycleFlag[i] == 1 ? DeleteToRecycleBin(m_strResult[i]) : DeleteOneFile(m_strResult[i]);
        MarkResult(i, result);
        m_passProgress.SetPos(i);
        PumpMessages();
    }
    m_passProgress.Flush();
    ResumeRedraw(m_progress);
    ResumeRedraw(m_listResults);

    m_staticStatus.SetWindowText("削除が完了しました");
    m_chkToRecycle.EnableWindow(FALSE);
    m_chkDeleteThis.EnableWindow(FALSE);
    m_btnAction.SetWindowText("終了");
    m_bReadyToDelete = 0;
    m_bBusy = 0;
    SetPassRunning(false);
}

void CSearchDlg::AskInterrupt()
{
    if (platform::ShowMessageBox(m_hWnd, "処理を中断しますか？", "警告", MB_YESNO) == IDYES)
        m_bBusy = 0;
}

int CSearchDlg::DeleteOneFile(const char* path)
{
    // DeleteFileA takes files only: a directory now at this path stays.
    return ::DeleteFileA(path) ? 1 : 0;
}

int CSearchDlg::DeleteToRecycleBin(CString path)
{
    if (!IsPlainFile(path) || path.GetLength() > RECYCLE_PATH_MAX)
        return 0;
    std::memcpy(g_recycleSource, path.GetString(), static_cast<size_t>(path.GetLength()) + 1);
    g_recycleSource[path.GetLength() + 1] = '\0';

    SHFILEOPSTRUCTA op = {};
    // Owned by this window, so that nothing else runs while the shell asks.
    op.hwnd = m_hWnd;
    op.wFunc = FO_DELETE;
    op.pFrom = g_recycleSource;
    op.pTo = nullptr;
    // FOF_WANTNUKEWARNING: a file the Recycle Bin cannot take is not
    // destroyed without the user's consent.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_WANTNUKEWARNING;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    // An operation the user declined is no success either.
    return ::SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted ? 1 : 0;
}

void CSearchDlg::MarkResult(int line, int result)
{
    CString text;
    if (m_listResults.GetText(line, text) == LB_ERR)
        return;
    text += result == 1 ? "（削除済み）" : "(削除に失敗)";
    m_listResults.DeleteString(line);
    m_listResults.InsertString(line, text);
}

void CSearchDlg::PumpMessages()
{
    if (!DrainDue(m_lastDrainMs))
        return;
    m_passProgress.Flush();
    const bool redraw = RedrawDue(m_lastRedrawMs);
    if (redraw) {
        ResumeRedraw(m_listResults);
        ResumeRedraw(m_progress);
    }
    DrainMessageQueue();
    if (redraw && HasWindow()) {
        SuspendRedraw(m_listResults);
        SuspendRedraw(m_progress);
    }
}
