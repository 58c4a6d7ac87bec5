// The main window: the pattern editor. It owns the deletion patterns and the
// results window object for the program's whole run.
#pragma once

#include "patterns/pattern_set.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/edit.h"
#include "platform/win/list_box.h"
#include "res/resource.h"
#include "engine/ui_timing.h"
#include "ui/search_dlg.h"

const int BROWSE_BUFFER_SIZE = 1024;

class CMainDlg : public CDialog {
public:
    explicit CMainDlg(CWnd* pParent = nullptr);
    ~CMainDlg() override;

    BOOL OnInitDialog() override;

    // Window messages.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // Pattern commands.
    void OnQuit();
    void OnUpdateSettings();
    void OnNewPattern();
    void OnDeletePattern();
    void OnCloseupPatternCombo();
    void OnSetfocusPatternCombo();
    void OnDropdownPatternCombo();
    void OnEditchangePatternCombo();

    // Directory and mask lists.
    void OnAddMask();
    void OnRemoveMask();
    void OnAddDir();
    void OnRemoveDir();
    void OnBrowse();
    void OnSelchangeMaskList();
    void OnSelchangeDirList();
    void OnSubfolders();

    // The search.
    void OnStartSearch();
    void SearchDirectory(CString dir, CString mask, int recurse);
    void UpdateSearchStatus(CString dir);
    void PumpAndCheckStop();

    // The three recurring steps.
    void RefillEntryLists();
    void RefillPatternCombo();
    void MarkDirty();
    void MarkClean();

    // Where the icon goes when the window is minimised.
    static POINT IconOrigin(const RECT& client, int iconWidth, int iconHeight);

    CSearchDlg m_searchDlg;
    int m_nFocusSel;
    CString m_strLastDir;
    int m_bStopConfirmed;
    int m_bDirty;
    CButton m_btnUpdate;
    CComboBox m_comboPattern;
    CButton m_chkSubfolders;
    CEdit m_editMask;
    CEdit m_editDir;
    CListBox m_listDirs;
    CListBox m_listMasks;
    CPatternSet m_patternSet;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void OnWorkChanged();
    // A search or a deletion pass is running: the pattern must not change.
    bool IsWorking() const { return m_bSearching || m_searchDlg.IsPassRunning(); }
    void EnablePatternCommands();
    void TellLoadOutcome();
    // The selected line of `list` and the entry at its index, or nothing.
    void RemoveSelectedEntry(CListBox& list, bool (CPatternSet::*remove)(int));
    // The selected line goes into `field` when that is empty; returns the
    // line, or LB_ERR when none is selected.
    static int CopySelectionToEmptyField(const CListBox& list, CEdit& field);
    // Saves; false (after telling the user) when the file could not be written.
    bool SaveSettings();
    void RunSearch();
    void ListResults();
    // The walk ends after a confirmed stop, a closed results window, a quit,
    // or a full result set.
    bool WalkMustEnd() const { return m_bStopConfirmed == 1 || m_bResultLimitReached; }

    DeferredProgress m_searchProgress{m_searchDlg.m_progress};
    bool m_bSearching = false;
    bool m_bResultLimitReached = false;
    bool m_bListing = false;
    CString m_strStartDir;
    DWORD m_lastDrainMs = 0;
    DWORD m_lastRedrawMs = 0;
};
