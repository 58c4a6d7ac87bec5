// The main window's directory and mask lists: adding, removing, browsing,
// the selection and the subfolder box.
#include "ui/main_dlg.h"

#include <shlobj.h>

#include <memory>
#include <vector>

#include "engine/paths.h"
#include "platform/mbcs.h"
#include "platform/win/ui_seam.h"
#include "platform/win/wide_text.h"
#include "ui/captions.h"

namespace {

const char kDirUnspellable[] = "探索するディレクトリ名に使えない文字が含まれています";

struct CoTaskMemFreer {
    void operator()(void* memory) const { ::CoTaskMemFree(memory); }
};

// The process's current directory, at any length; empty when unreadable.
std::wstring CurrentDirectory()
{
    std::wstring dir(::GetCurrentDirectoryW(0, nullptr), L'\0');
    const DWORD n = dir.empty() ? 0 : ::GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), &dir[0]);
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

}  // namespace

void CMainDlg::AddFromField(CEdit& field, bool (CMainDlg::*add)(const CString& text, bool exact))
{
    if (IsWorking())
        return;
    CString text;
    const bool exact = field.GetExactWindowText(text);
    if ((this->*add)(text, exact)) {
        field.SetWindowText("");
        field.SetFocus();
    }
}

bool CMainDlg::AddEntry(CString text, bool exact, CListBox& list, int count, const EntryTexts& texts, Prepare prepare,
                        bool (CPatternSet::*add)(const CString&, int))
{
    if (text.IsEmpty())
        return false;
    // A look-alike ("e" for "é") would widen a mask or name another folder.
    if (!exact) {
        platform::ShowMessageBox(m_hWnd, texts.unspellable, kMessageCaption, MB_OK);
        return false;
    }
    if (count >= MAX_ENTRIES) {
        platform::ShowMessageBox(m_hWnd, texts.full, kMessageCaption, MB_OK);
        return false;
    }
    int flag = 0;
    if (!(this->*prepare)(text, flag))
        return false;
    text.MakeUpper();
    list.AddString(text);
    MarkDirty();
    (m_patternSet.*add)(text, flag);
    return true;
}

bool CMainDlg::PrepareMask(CString& text, int& flag)
{
    // A mask with a folder part would list one file and delete another.
    if (!IsPlainMask(text)) {
        platform::ShowMessageBox(m_hWnd, "削除するファイル名に「\\」「/」「:」は使えません", kMessageCaption, MB_OK);
        return false;
    }
    for (int i = 0; i < m_patternSet.GetMaskCount(); ++i) {
        if (MbsICmp(text, m_patternSet.GetMask(i)) == 0) {
            platform::ShowMessageBox(m_hWnd, "指定したファイルタイプはすでに登録してあります", kMessageCaption, MB_OK);
            return false;
        }
    }
    flag = 0;
    return true;
}

bool CMainDlg::PrepareDir(CString& text, int& flag)
{
    // Tested as the search takes it: a relative path from the current
    // directory, then the folder at exactly that path, at any depth.
    const bool relative = !IsAbsolutePath(text);
    CString current;
    if (relative && !ExactAnsiFromWide(CurrentDirectory().c_str(), current)) {
        platform::ShowMessageBox(m_hWnd, kDirUnspellable, kMessageCaption, MB_OK);
        return false;
    }
    const std::wstring verbatim = VerbatimDirectory(m_fileSystem.ExactFormOf(ResolveDirectory(text, current)));
    if (!CWinFileSystem::IsFolder(verbatim)) {
        platform::ShowMessageBox(m_hWnd, "指定したパスは存在しません", kMessageCaption, MB_OK);
        return false;
    }
    // A relative path is stored as the full path it named when it was tested,
    // so that it still names that directory later.
    const std::wstring plain = PlainFormOf(verbatim);
    if (relative && !ExactAnsiFromWide(plain.c_str(), text)) {
        platform::ShowMessageBox(m_hWnd, kDirUnspellable, kMessageCaption, MB_OK);
        return false;
    }
    // The directory added becomes the current one, where the system takes it as one.
    if (CanBeCurrentDirectory(plain))
        m_fileSystem.EnterDirectory(plain);
    if (!EndsWithSeparator(text))
        text += "\\";
    flag = m_chkSubfolders.GetCheck() == BST_CHECKED ? 1 : 0;
    return true;
}

void CMainDlg::OnAddMask()
{
    AddFromField(m_editMask, &CMainDlg::AddMaskEntry);
}

bool CMainDlg::AddMaskEntry(const CString& text, bool exact)
{
    static const EntryTexts texts = {"削除するファイル名は１００個までしか登録できません",
                                     "削除するファイル名に使えない文字が含まれています"};
    return AddEntry(text, exact, m_listMasks, m_patternSet.GetMaskCount(), texts, &CMainDlg::PrepareMask, &CPatternSet::AddMask);
}

void CMainDlg::RemoveSelectedEntry(CListBox& list, bool (CPatternSet::*remove)(int))
{
    if (IsWorking())
        return;
    int i = list.GetCurSel();
    if (i == LB_ERR)
        return;
    list.DeleteString(i);
    MarkDirty();
    (m_patternSet.*remove)(i);
}

void CMainDlg::OnRemoveMask()
{
    RemoveSelectedEntry(m_listMasks, &CPatternSet::RemoveMask);
}

void CMainDlg::OnAddDir()
{
    AddFromField(m_editDir, &CMainDlg::AddDirEntry);
}

bool CMainDlg::AddDirEntry(const CString& text, bool exact)
{
    static const EntryTexts texts = {"探索するディレクトリは１００個までしか登録できません", kDirUnspellable};
    return AddEntry(text, exact, m_listDirs, m_patternSet.GetDirCount(), texts, &CMainDlg::PrepareDir, &CPatternSet::AddDir);
}

void CMainDlg::OnDropFiles()
{
    // The shell's names, read whole and let go before any question is asked.
    HDROP drop = reinterpret_cast<HDROP>(GetMessageWParam());
    std::vector<std::wstring> names(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < names.size(); ++i) {
        names[i].resize(::DragQueryFileW(drop, i, nullptr, 0) + 1);
        names[i].resize(::DragQueryFileW(drop, i, &names[i][0], static_cast<UINT>(names[i].size())));
    }
    ::DragFinish(drop);
    // Nothing changes the pattern a search or a deletion pass works from.
    if (IsWorking())
        return;
    // Each folder in turn, exactly as typed into the directory field and
    // added; a file is never added.
    bool filesDropped = false;
    for (const std::wstring& name : names) {
        const DWORD attributes = ::GetFileAttributesW(VerbatimDirectory(name).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            filesDropped = true;
            continue;
        }
        CString text;
        const bool exact = ExactAnsiFromWide(name.c_str(), text);
        AddDirEntry(text, exact);
    }
    if (filesDropped)
        platform::ShowMessageBox(m_hWnd, "追加できるのはフォルダーだけです。ドロップしたファイルは追加していません", kMessageCaption,
                                 MB_OK);
}

void CMainDlg::OnRemoveDir()
{
    RemoveSelectedEntry(m_listDirs, &CPatternSet::RemoveDir);
}

void CMainDlg::OnBrowse()
{
    char buffer[BROWSE_BUFFER_SIZE] = "";
    BROWSEINFOA request = {};
    request.hwndOwner = m_hWnd;
    request.pidlRoot = nullptr;
    request.pszDisplayName = buffer;
    request.lpszTitle = "ディレクトリ選択...";
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = nullptr;
    request.lParam = 0;
    // The chosen item is the caller's to free.
    const std::unique_ptr<ITEMIDLIST, CoTaskMemFreer> item(platform::BrowseForFolder(&request));
    if (!item)
        return;
    // A folder without a file-system path leaves the field alone: its display
    // name could name some other directory relative to the current one.
    // The path as the file system spells it, at any length: a name the code
    // page cannot spell is refused when added, never turned into a look-alike.
    PWSTR path = nullptr;
    if (SUCCEEDED(::SHGetNameFromIDList(item.get(), SIGDN_FILESYSPATH, &path)) && path) {
        const std::unique_ptr<wchar_t, CoTaskMemFreer> owned(path);
        m_editDir.SetWindowText(std::wstring(path));
    }
}

int CMainDlg::CopySelectionToEmptyField(const CListBox& list, CEdit& field)
{
    int i = list.GetCurSel();
    if (i == LB_ERR)
        return LB_ERR;
    CString text;
    field.GetWindowText(text);
    if (text.IsEmpty()) {
        list.GetText(i, text);
        field.SetWindowText(text);
    }
    return i;
}

void CMainDlg::OnSelchangeMaskList()
{
    CopySelectionToEmptyField(m_listMasks, m_editMask);
}

void CMainDlg::OnSelchangeDirList()
{
    int i = CopySelectionToEmptyField(m_listDirs, m_editDir);
    if (i == LB_ERR)
        return;
    // A flag from the settings file may hold any value; only 1 means subfolders.
    m_chkSubfolders.SetCheck(m_patternSet.GetDirFlag(i) == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void CMainDlg::OnSubfolders()
{
    int i = m_listDirs.GetCurSel();
    if (i == LB_ERR || IsWorking())
        return;
    m_patternSet.SetDirFlag(i, m_chkSubfolders.GetCheck() == BST_CHECKED ? 1 : 0);
    MarkDirty();
}
