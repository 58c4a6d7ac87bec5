// The results window: the search runs in it, its results are listed, the user
// decides per file whether it is deleted and whether it goes to the Recycle
// Bin, and the deletion pass runs in it. The object and its result set live
// as long as the main window; each search creates the window anew.
#pragma once

#include "engine/search_logic.h"
#include "engine/win_file_system.h"
#include "platform/win/button.h"
#include "platform/win/dialog.h"
#include "platform/win/list_box.h"
#include "platform/win/message_loop.h"
#include "platform/win/progress_ctrl.h"
#include "platform/win/static.h"
#include "res/resource.h"

// Sent to the owner when a deletion pass starts or ends.
const UINT WM_TIDYMOTH_WORK_CHANGED = WM_APP + 1;

class CSearchDlg : public CDialog {
public:
    explicit CSearchDlg(CWnd* pParent = nullptr);
    ~CSearchDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    // Escape hides the window, except while the deletion pass works on it.
    void OnCancel() override;

    void OnClose();
    void OnAction();
    void OnSelchangeResultList();
    void OnDeleteThis();
    void OnToRecycle();

    // The deletion pass's steps, on a result's exact path and the final path
    // the search fixed for it.
    int DeleteOneFile(const std::wstring& path, const std::wstring& finalPath);
    int DeleteToRecycleBin(std::wstring path, const std::wstring& finalPath);
    void MarkResult(int line, int result);
    void PumpMessages();
    // The interrupt question of a running pass; Yes ends the pass at its next
    // result. True for Yes.
    bool AskInterrupt();

    // The window's states: each sets the captions, texts and enabled controls
    // of one state; m_bBusy and m_bReadyToDelete say which state it is in.
    void ShowSearching();
    void ShowListing();
    void ShowReadyToDelete(bool limitReached);
    void ShowNothingFound();
    void ShowDeleting();
    void ShowDone();

    // The search's long loop on this window (see CThrottledDrain): the bar,
    // the range with its label, the status line, the lines.
    void BeginLoop() { m_drain.Begin(m_progress); }
    bool DrainIfDue() { return m_drain.Poll(); }
    void EndLoop() { m_drain.End(); }
    void AbandonLoop() { m_drain.Abandon(); }
    void MoveProgress(int position) { m_drain.SetPos(position); }
    void ShowProgressMaximum(int maximum);
    void ShowSearchingIn(const CString& dir);
    void AddResultLine(int i);
    // The horizontal scroll bar reaches the end of the longest line.
    void FitLines(int longest);

    // True while the deletion pass runs; the main window refuses commands then.
    bool IsPassRunning() const { return m_bPassRunning; }
    // The window exists (it may be hidden by Escape).
    bool HasWindow() const { return m_hWnd != nullptr; }

    int m_bBusy;
    int m_bReadyToDelete;
    CString m_strResult[MAX_RESULTS];
    // Each result's path exactly as the file system spells it: the line shows
    // it and the deletion takes it, also where m_strResult is a look-alike.
    std::wstring m_wstrResult[MAX_RESULTS];
    // The final path each result must still have to be deleted.
    std::wstring m_wstrFinalPath[MAX_RESULTS];
    int m_nDeleteFlag[MAX_RESULTS];
    int m_nRecycleFlag[MAX_RESULTS];
    int m_nResultCount;
    CButton m_chkToRecycle;
    CButton m_chkDeleteThis;
    CListBox m_listResults;
    CButton m_btnAction;
    CStatic m_staticStatus;
    CStatic m_staticProgressMax;
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void RunDeletionPass();
    void SetPassRunning(bool running);
    // Fills m_selected with every selected line (beyond MAX_SEL_ITEMS too)
    // and returns how many there are.
    int GetSelectedLines();
    void ApplyBoxClick(CButton& box, int* flags);
    void ShowFlags(CButton& box, const int* flags, int count);

    int m_selected[MAX_RESULTS];
    bool m_bPassRunning = false;
    CThrottledDrain m_drain;
    CListedFileDeleter m_deleter;
};
