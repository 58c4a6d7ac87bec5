// The search, the results window and the deletion pass on real files: a
// temporary start-up directory holding the tree to search, the main window
// created over it, and the means to act from inside the program's own loops.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/host_shell.h"
#include "tests/support/settings_bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/win/win_test_support.h"
#include "ui/main_dlg.h"

namespace win_test {

// Runs `cleanUp` when the scope ends, also after a failed assertion.
struct Finally {
    std::function<void()> cleanUp;
    ~Finally() { cleanUp(); }
};

using testing_support::HostPathOf;
using testing_support::OnWine;
using testing_support::RunHostShell;

// ---- Files ----------------------------------------------------------------

// A new file holding `content`.
bool WriteNewFile(const std::string& path, const std::string& content = std::string());
std::string FileContent(const std::string& path);
// `count` empty files F00001.DAT, F00002.DAT, ... in `dir`. Under Wine they
// are made by the host: Wine looks through the whole directory for every
// new name, so thousands of creations in one directory take minutes.
bool MakeNumberedFiles(const std::string& dir, int count);
// A link to a directory: a host symbolic link under Wine, which Wine reports
// as a reparse point; a junction on Windows.
bool MakeDirectoryLink(const std::string& link, const std::string& target);
// Removes a tree, also one holding symbolic links or very many files.
void RemoveWholeTree(const std::string& path);
// The names a mask enumeration returns in `dir`, in the system's order.
std::vector<std::string> Enumerate(const std::string& dir, const std::string& mask, bool directories);

// A free drive letter for a directory while the test runs. DefineDosDeviceA
// gives one where the system honours it. Wine 8 accepts the call but its
// file system ignores the mapping: it looks drive letters up as links in the
// prefix's dosdevices folder, so there the test makes such a link.
class MappedDrive {
public:
    MappedDrive(const std::string& target, const std::string& probe) : m_target(target)
    {
        for (const char* letter = "TUVWXYSRQPONMLKJ"; *letter && !Ok(); ++letter) {
            std::string drive = std::string(1, *letter) + ":";
            if (::GetDriveTypeA((drive + "\\").c_str()) != DRIVE_NO_ROOT_DIR)
                continue;
            if (::DefineDosDeviceA(0, drive.c_str(), target.c_str())) {
                if (FileExists(drive + "\\" + probe)) {
                    m_drive = drive;
                    m_defined = true;
                    break;
                }
                ::DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), target.c_str());
            }
            std::string c = HostPathOf("C:\\");
            size_t at = c.rfind("/c:");
            if (at == std::string::npos)
                return;
            m_link = c.substr(0, at) + "/" + static_cast<char>(*letter - 'A' + 'a') + ":";
            if (RunHostShell("ln -s '" + HostPathOf(target) + "' '" + m_link + "'") == 0 && FileExists(drive + "\\" + probe)) {
                m_drive = drive;
                // The letter opens files at once, but final paths name them
                // through it only once Wine's drive cache (up to a second)
                // has seen it: a search and a deletion meanwhile would see
                // the same file under two names.
                ::Sleep(1100);
                break;
            }
            RemoveLink();
            return;
        }
    }
    ~MappedDrive()
    {
        if (m_defined)
            ::DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, m_drive.c_str(), m_target.c_str());
        // Wine keeps what it knows of the drives for up to a second, and a
        // folder made meanwhile in the mapped folder's place on disk would be
        // named through the old letter (as a final path, say): the next test
        // starts when that has passed.
        const bool linked = !m_link.empty();
        RemoveLink();
        if (linked)
            ::Sleep(1100);
    }
    bool Ok() const { return !m_drive.empty(); }
    std::string Drive() const { return m_drive; }

private:
    void RemoveLink()
    {
        if (!m_link.empty())
            RunHostShell("rm -f '" + m_link + "'");
        m_link.clear();
    }
    std::string m_target;
    std::string m_drive;
    std::string m_link;
    bool m_defined = false;
};

// ---- Acting inside the program's loops -------------------------------------

// Watches the results window while it lives: records every text given to
// its status line, in order; and, while `slow` holds, makes every step of
// the program's loops take longer than the drain interval, so that the poll
// after it drains the queue (the loops may skip a drain when less than that
// has passed). The steps are: reading a directory entry (the file system
// answers slowly), adding a line to the result list, and marking one.
class ResultsSpy {
public:
    ResultsSpy();
    ~ResultsSpy();
    ResultsSpy(const ResultsSpy&) = delete;
    ResultsSpy& operator=(const ResultsSpy&) = delete;

    void SlowAlways()
    {
        slow = [] { return true; };
    }
    // Stops watching: no more texts, slow steps or drain steps.
    void Stop();

    std::function<bool()> slow;
    std::vector<std::string> statusTexts;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook = nullptr;
};

// Code run from inside the drains of the program's loops: a message posted
// to a window of the test, posted again after every step of the loops that
// the spy sees, so a step runs once in each drain that follows a step.
// Runs `step` in every such drain until it returns false.
void EachDrain(std::function<bool()> step);
// Runs `action` once, in the first such drain in which `when` holds.
void AtDrain(std::function<bool()> when, std::function<void()> action);
void CancelDrainSteps();

// The dialog keyboard handling of the program's modal loop for one key
// press: what Enter and Escape do while no loop of the program drains.
void PressDialogKey(HWND dialog, WPARAM key);
// A key press as it reaches the focused control when a loop of the program
// drains the queue: posted, to be dispatched by that drain.
void PostKeyToFocus(HWND dialog, WPARAM key);

using Paths = std::vector<std::string>;

inline void Append(Paths& lines, const Paths& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
}

// `lines` with `mark` appended to the first `count` of them.
std::vector<std::string> WithMark(std::vector<std::string> lines, const char* mark, size_t count = SIZE_MAX);

// ---- The fixture -----------------------------------------------------------

class SearchFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Paths under the start-up directory, with "\" between names.
    std::string PathOf(const std::string& relative) const;
    // Makes the file and every directory above it.
    std::string MakeFile(const std::string& relative, const std::string& content = std::string());
    void MakeFiles(std::initializer_list<std::string> relatives)
    {
        for (const std::string& relative : relatives)
            MakeFile(relative);
    }
    std::string MakeDir(const std::string& relative);

    // The pattern as the user enters it: the field, the subfolder box, the
    // add button. AddDir returns the directory as the pattern stores it.
    std::string AddDir(const std::string& path, bool subfolders);
    void AddMask(const std::string& mask);
    void AddMasks(std::initializer_list<std::string> masks)
    {
        for (const std::string& mask : masks)
            AddMask(mask);
    }

    void Search() { main->OnStartSearch(); }
    // A new main window over a settings file of one pattern with these
    // entries, as an older or damaged file can hold them (the fields refuse
    // some of them).
    void StartFrom(const std::vector<Entry>& dirs, const std::vector<Entry>& masks);

    CSearchDlg& Results() { return main->GetSearchDlg(); }
    HWND ResultsWindow() { return Results().m_hWnd; }
    HWND Control(int id) { return ::GetDlgItem(ResultsWindow(), id); }
    HWND MainControl(int id) { return ::GetDlgItem(main->m_hWnd, id); }
    std::string Text(int id) { return WindowText(Control(id)); }
    bool Enabled(int id) { return IsEnabled(Control(id)); }
    int CheckOf(int id) { return Check(Control(id)); }
    std::vector<std::string> Lines() { return ListItems(Control(IDC_RESULT_LIST)); }
    std::string Line(int line) { return ListItem(Control(IDC_RESULT_LIST), line); }
    std::vector<int> Selection() { return ListSelection(Control(IDC_RESULT_LIST)); }
    ProgressState Bar() { return Progress(Control(IDC_PROGRESS)); }
    ResultsState State() { return ReadResultsState(ResultsWindow()); }
    // The walk runs and its stop button can be pressed.
    bool Walking()
    {
        return ResultsWindow() && !Results().IsStopRequested() && Text(IDC_ACTION) == kStopAction && Enabled(IDC_ACTION);
    }
    // The check `box` shows for exactly `lines` selected: every selected
    // line's flag, or indeterminate where they differ.
    int BoxFor(const std::vector<int>& lines, int box);
    // The flag `box` shows for each of the first `count` lines alone (1 for
    // checked); the selection and what both boxes showed are put back.
    std::vector<int> LineFlags(int box, int count);
    // The pattern has changes not saved: the update button says so.
    bool Dirty() { return IsEnabled(MainControl(IDC_UPDATE)); }

    // A click on a button of the results window, which must be enabled, as
    // a user could not click it otherwise.
    void Click(int id);
    void ClickMain(int id);
    // Selects exactly `lines` and tells the window, as the list box does.
    void Select(const std::vector<int>& lines);
    void SelectAll();
    // Sets the two flags of one line through the boxes, as a user does.
    void SetFlags(int line, int deleteFlag, int recycleFlag);

    // While a search or a deletion pass runs, nothing may change the pattern
    // it works from: the commands are disabled, and refuse when called.
    void ExpectPatternCommandsLocked(bool locked);

    // A Yes/No question of the program: its caption, text and owner.
    void ExpectQuestion(const RecordedBox& box, const char* caption, const char* text, HWND owner);

    // The states at the end of a phase, exactly: the window and the result
    // set behind it. Done takes the lines as the pass left them.
    void ExpectReady(const std::vector<std::string>& lines);
    // The horizontal scroll bar reaches the end of the widest line in pixels.
    void ExpectLinesFit();
    void ExpectNothingFound();
    void ExpectDone(const std::vector<std::string>& lines, int lastHandled);

    testing_support::TempDir temp;
    ScriptedBoxes boxes;
    ResultsSpy spy;
    std::unique_ptr<CMainDlg> main;
};

}  // namespace win_test
