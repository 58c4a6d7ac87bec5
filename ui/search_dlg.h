// The results window: the search runs in it, its results are listed, the user
// decides per file whether it is deleted and whether it goes to the Recycle
// Bin, and the deletion pass runs in it. The object and its result set live
// as long as the main window; each search creates the window anew. Its state
// and its result set are its own: the search and the other window say what
// happens through its methods.
#pragma once

#include <functional>
#include <string>

#include "engine/search_run.h"
#include "engine/found_file.h"
#include "engine/win_deleter.h"
#include "platform/win/button.h"
#include "platform/win/dialog.h"
#include "platform/win/gdi.h"
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
    // Enter closes the window and Escape hides it, except while a search or
    // the deletion pass works on it.
    void OnOK() override;
    void OnCancel() override;

    // The user's commands.
    void OnClose();
    void OnAction();
    void OnSelchangeResultList();
    void OnDeleteThis();
    void OnToRecycle();
    // The window moved to a monitor of another DPI.
    void OnDpiChanged();

    // ---- The search, as the main window runs it ----------------------------

    // Opens the window anew, owned by `owner`, for a search that starts with
    // an empty result set; false when it cannot be created.
    bool BeginSearch(CWnd* owner);
    int GetResultCount() const { return m_nResultCount; }
    // Stores a found file as the next result, ticked for the Recycle Bin;
    // `path` is its line as the code page spells it.
    void AddResult(const CString& path, const CFoundFile& file);
    void ShowProgressMaximum(int maximum);
    void ShowSearchingIn(const CString& dir);
    // Drains the queue when a drain is due; false once the window has gone.
    bool PollSearch();
    // The user asked to stop the search (its button or its close box).
    bool IsStopRequested() const { return m_bSearching && m_bBusy == 0; }
    // The stop question was answered No: the search goes on.
    void ContinueSearch() { m_bBusy = 1; }
    // A stop was confirmed during the walk: the window goes, nothing is listed.
    void EndSearchUnlisted();
    // Lists every result. After each line `stopConfirmed` is the search's
    // poll: true keeps exactly the lines listed so far. Then the window is
    // ready to delete, or says nothing was found.
    void ListResults(const std::function<bool()>& stopConfirmed, bool limitReached);

    // ---- The deletion pass --------------------------------------------------

    // The pass's steps, on a result as the search found it.
    int DeleteOneFile(const CFoundFile& file);
    int DeleteToRecycleBin(const CFoundFile& file);
    void MarkResult(int line, int result);
    void PumpMessages();
    // The interrupt question of a running pass, asked once at a time; Yes
    // ends the pass at its next result. True for Yes.
    bool AskInterrupt();

    // True while the deletion pass runs; the main window refuses commands then.
    bool IsPassRunning() const { return m_bPassRunning; }
    // The window exists (it may be hidden by Escape).
    bool HasWindow() const { return m_hWnd != nullptr; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    // The window's states, read from its two flags and the search running.
    enum class State {
        Searching,      // walking or listing
        StopRequested,  // the search's next poll asks the stop question
        ReadyToDelete,
        Deleting,
        Closable,  // nothing found, or the pass is done
    };
    State CurrentState() const;
    // While the search runs the window has no default button, so that Enter
    // presses nothing.
    void SetSearching(bool searching);

    void ShowSearching();
    void ShowListing();
    void ShowReadyToDelete(bool limitReached);
    void ShowNothingFound();
    void ShowDeleting();
    void ShowDone();

    // The list's font made again at the window's DPI, and its lines measured
    // in it, once no listing is under way.
    void FitToDpi();
    void MeasureLines();
    // The two marks and their widths on `dc`, in the list's font.
    void MeasureMarks(HDC dc);

    void RunDeletionPass();
    void SetPassRunning(bool running);
    // The horizontal scroll bar reaches the end of the widest line so far,
    // also once `line` has its mark for `result`.
    void FitMarkedLine(int line, int result);
    // The mark a line gets for the outcome of its delete.
    static const wchar_t* MarkFor(int result) { return DeletionMark(result == 1); }
    // Fills m_selected with every selected line and returns how many there are.
    int GetSelectedLines();
    void ApplyBoxClick(CButton& box, int* flags);
    void ShowFlags(CButton& box, const int* flags, int count);

    int m_bBusy;
    int m_bReadyToDelete;
    CString m_strResult[MAX_RESULTS];
    // Each result as the search found it: the line shows its exact path and
    // the deletion takes it, also where m_strResult has "？" for a character.
    CFoundFile m_found[MAX_RESULTS];
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

    int m_selected[MAX_RESULTS];
    bool m_bSearching = false;
    bool m_bPassRunning = false;
    bool m_bAskingInterrupt = false;
    // Each line's width in pixels, the widest, and the two marks (for a
    // failure, then for a delete) with their widths.
    int m_nLineWidth[MAX_RESULTS];
    int m_nWidestLine = 0;
    std::wstring m_wstrMark[2];
    int m_nMarkWidth[2] = {};
    // The window's DPI, and the DPI the list's own font was made for.
    int m_nDpi = 96;
    int m_nFontDpi = 96;
    COwnedFont m_listFont;
    CThrottledDrain m_drain;
    CListedFileDeleter m_deleter;
};
