// The main window: the pattern editor. It owns the deletion patterns and the
// results window object for the program's whole run.
#pragma once

#include "engine/search_run.h"
#include "engine/win_file_system.h"
#include "patterns/pattern_set.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/edit.h"
#include "platform/win/gdi.h"
#include "platform/win/list_box.h"
#include "res/resource.h"
#include "ui/search_dlg.h"

const int BROWSE_BUFFER_SIZE = 1024;

class CMainDlg : public CDialog, private WalkCaller {
public:
    explicit CMainDlg(CWnd* pParent = nullptr);
    ~CMainDlg() override;

    BOOL OnInitDialog() override;

    // Window messages.
    void OnSysCommand();
    void OnPaint();
    void OnQueryDragIcon();
    // The window moved to a monitor of another DPI.
    void OnDpiChanged();
    // Folders dropped from Explorer (main_dlg_lists.cpp).
    void OnDropFiles();

    // Pattern commands.
    void OnQuit();
    void OnUpdateSettings();
    void OnNewPattern();
    void OnDeletePattern();
    void OnCloseupPatternCombo();
    void OnSetfocusPatternCombo();
    void OnDropdownPatternCombo();
    void OnEditchangePatternCombo();

    // Directory and mask lists (main_dlg_lists.cpp).
    void OnAddMask();
    void OnRemoveMask();
    void OnAddDir();
    void OnRemoveDir();
    void OnBrowse();
    void OnSelchangeMaskList();
    void OnSelchangeDirList();
    void OnSubfolders();

    // The search (main_dlg_search.cpp).
    void OnStartSearch();
    void UpdateSearchStatus(CString dir);
    void PumpAndCheckStop();

    // The three recurring steps.
    void RefillEntryLists();
    void RefillPatternCombo();
    void MarkDirty();
    void MarkClean();

    // Where the icon goes when the window is minimised.
    static POINT IconOrigin(const RECT& client, int iconWidth, int iconHeight);

    // The results window this window owns for the program's whole run.
    CSearchDlg& GetSearchDlg() { return m_searchDlg; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
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
    // The icons made for the window's DPI; m_hIcon is the big one once made.
    COwnedIcon m_bigIcon;
    COwnedIcon m_smallIcon;

    void OnWorkChanged();
    // A search or a deletion pass is running: the pattern must not change.
    bool IsWorking() const { return m_bSearching || m_searchDlg.IsPassRunning(); }
    void EnablePatternCommands();
    void TellLoadOutcome();
    // An add button: `add` takes the field's text, which is emptied once added.
    void AddFromField(CEdit& field, bool (CMainDlg::*add)(const CString& text, bool exact));
    // The steps both kinds of entry share, for `text`, which the code page
    // spells `exact`ly or not; true when it was added. `prepare` checks the
    // text and brings it into its stored form with its flag, or refuses
    // (telling why).
    using Prepare = bool (CMainDlg::*)(CString& text, int& flag);
    struct EntryTexts {
        const char* full;         // the list holds MAX_ENTRIES
        const char* unspellable;  // the code page cannot spell the text
    };
    bool AddEntry(CString text, bool exact, CListBox& list, int count, const EntryTexts& texts, Prepare prepare,
                  bool (CPatternSet::*add)(const CString&, int));
    // A mask, or a directory, as its add button adds it (a dropped folder too).
    bool AddMaskEntry(const CString& text, bool exact);
    bool AddDirEntry(const CString& text, bool exact);
    // The program's icon at the window's DPI, big and small.
    void ShowIcons(int dpi);
    // The combo box's text; false (after telling the user) when the code
    // page cannot spell it exactly.
    bool ReadPatternName(CString& name);
    bool PrepareMask(CString& text, int& flag);
    bool PrepareDir(CString& text, int& flag);
    // The selected line of `list` and the entry at its index, or nothing.
    void RemoveSelectedEntry(CListBox& list, bool (CPatternSet::*remove)(int));
    // The selected line goes into `field` when that is empty; returns the
    // line, or LB_ERR when none is selected.
    static int CopySelectionToEmptyField(const CListBox& list, CEdit& field);
    // Saves; false (after telling the user) when the file could not be written.
    bool SaveSettings();
    void RunSearch();
    // What the walk asks of the search (ui/main_dlg_search.cpp).
    void DirectoryEntered(const CString& dir) override;
    int ResultCount() const override;
    void FileFound(const CString& path, const CFoundFile& file) override;
    bool StopNow() override;

    CWinFileSystem m_fileSystem;
    // Ends after a confirmed stop, a closed results window, a quit, or a
    // full result set.
    CSearchRun m_search{m_fileSystem, *this};
    bool m_bSearching = false;
    CString m_strStartDir;
};
