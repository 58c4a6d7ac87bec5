// Drives the real Tidymoth.exe from another process, as a user would: starts
// it in a fresh start-up directory, finds its windows, reads its controls,
// clicks, types, answers its message boxes, and waits for states with
// time-outs. Every string is code page 932, as the program's own.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/controls.h"
#include "tests/support/temp_dir.h"
#include "tests/support/texts.h"

namespace e2e {

using namespace testing_support;
using namespace texts;

// How long a wait for a state lasts before it counts as a failure.
const DWORD WAIT_TIMEOUT_MS = 10000;

// Where refused actions and time-outs are reported (a test installs one that
// fails the test); the default writes to stderr.
using FailureReporter = std::function<void(const std::string& what)>;
void SetFailureReporter(FailureReporter reporter);
void ReportFailure(const std::string& what);

// Polls `condition` with short sleeps until it holds; false after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = WAIT_TIMEOUT_MS);

// A top-level window of the program and its controls by identifier. It holds
// only the handle; the window may go away under it.
class Window {
public:
    Window() = default;
    explicit Window(HWND window) : m_hWnd(window) {}

    HWND Handle() const { return m_hWnd; }
    bool Exists() const { return m_hWnd && ::IsWindow(m_hWnd); }
    bool IsEnabled() const { return Exists() && ::IsWindowEnabled(m_hWnd); }
    std::string Caption() const { return WindowText(m_hWnd); }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Its controls through the shared readers.
    std::string Text(int id) const { return WindowText(Item(id)); }
    bool IsEnabled(int id) const { return testing_support::IsEnabled(Item(id)); }
    int Check(int id) const { return testing_support::Check(Item(id)); }
    std::vector<std::string> ListItems(int id) const { return testing_support::ListItems(Item(id)); }
    int ListCurSel(int id) const { return testing_support::ListCurSel(Item(id)); }
    std::vector<int> ListSelection(int id) const { return testing_support::ListSelection(Item(id)); }
    std::vector<std::string> ComboItems(int id) const { return testing_support::ComboItems(Item(id)); }
    int ComboCurSel(int id) const { return testing_support::ComboCurSel(Item(id)); }
    bool ComboDropped(int id) const { return testing_support::ComboDropped(Item(id)); }

    // Every action first waits until the program has handled the earlier
    // ones, so it meets the state a user would see, and is posted, so a
    // handler that opens a modal box does not block us.
    //
    // Clicks a button, check box or three-state box (BM_CLICK). Refused, as
    // for a user, when the control or its window is disabled or hidden.
    bool Click(int id) const;
    // Replaces the text of an edit field or of a combo box's field by
    // keystrokes (select all, then a Unicode WM_CHAR per character, as a
    // keyboard or an input method gives them; Backspace for an empty text),
    // so the control notifies as it does for a user.
    bool Type(int id, const std::string& text) const;
    // The same for text the code page may not spell.
    bool TypeWide(int id, const std::wstring& text) const;
    // Selects one line of a list box (or, for a multiple-selection list,
    // exactly the given lines) and notifies as a mouse click would.
    bool SelectLine(int id, int index) const;
    bool SelectLines(int id, const std::vector<int>& lines) const;
    // Opens or closes a combo box's drop-down list (CBN_DROPDOWN; on
    // closing CBN_SELENDCANCEL and CBN_CLOSEUP).
    bool ShowDropDown(int id, bool show) const;
    // Opens the list, moves its selection to `index` and closes it, as a
    // user picking an item does.
    bool ChooseComboItem(int id, int index) const;
    // A key pressed and released while the control has the focus.
    bool PressKey(int id, UINT vk) const;
    bool PostSysCommand(WPARAM command) const { return PostToWindow(WM_SYSCOMMAND, command, "system command"); }
    bool PostClose() const { return PostToWindow(WM_CLOSE, 0, "close box"); }

private:
    bool Usable(int id, const char* action) const;
    bool PostToWindow(UINT message, WPARAM wParam, const char* what) const;
    HWND m_hWnd = nullptr;
};

// One running Tidymoth.exe with its own start-up directory.
class Tidymoth {
public:
    // A fresh temporary start-up directory, removed at the end.
    Tidymoth();
    // The given start-up directory, left as it is at the end.
    explicit Tidymoth(const std::string& startDir);
    // Ends the process if it still runs (a test that failed midway), then
    // removes a temporary start-up directory.
    ~Tidymoth();
    Tidymoth(const Tidymoth&) = delete;
    Tidymoth& operator=(const Tidymoth&) = delete;

    static std::string ExePath();
    const std::string& StartDir() const { return m_startDir; }
    std::string SettingsPath() const { return m_startDir + "\\" + kSettingsFile; }
    bool WriteSettings(const Bytes& bytes) const;
    // The settings file's bytes; empty when there is none.
    Bytes ReadSettings() const;
    bool HasSettings() const;

    // Starts the program (or the copy at `exe`) and waits for its main window.
    bool Start(const std::string& exe = ExePath());
    bool IsRunning() const;
    // Waits for the process to end by itself.
    bool WaitForExit(DWORD timeoutMs = WAIT_TIMEOUT_MS);

    Window Main() const { return m_main; }
    // Visible top-level windows of the process.
    std::vector<HWND> TopWindows() const;
    // A visible top-level window of the process with this caption, or none.
    Window FindWindowByCaption(const std::string& caption) const;
    Window WaitForWindow(const std::string& caption, DWORD timeoutMs = WAIT_TIMEOUT_MS) const;
    // Message boxes: dialog windows with their text in static 0xFFFF, other
    // than the program's own dialogs.
    std::vector<Window> MessageBoxes() const;
    Window WaitForMessageBox(DWORD timeoutMs = WAIT_TIMEOUT_MS) const;
    // Waits for a message box, checks its caption and text, presses the
    // button `id` and waits for the box to go. False (reported) on any
    // mismatch; the box is then left open.
    bool Answer(const std::string& caption, const std::string& text, int id) const;
    // Presses the button `id` of a message box or dialog and waits for it to go.
    bool Press(const Window& box, int id) const;
    // The folder browser (its tree view is 0x3741).
    Window WaitForFolderBrowser(DWORD timeoutMs = WAIT_TIMEOUT_MS) const;
    // The window with the keyboard focus in the program's thread.
    HWND Focus() const;
    // A key pressed and released in whichever control has the focus.
    bool PressKey(UINT vk) const;

    // Returns once every message posted to the program before this call has
    // been handled (or is waiting in a nested loop, such as a message box).
    bool Sync() const;

    // Ends the process at once.
    void Kill();

private:
    // A visible top-level window that `match` takes; `what` names it in the
    // report when none appears.
    Window WaitForTopWindow(const std::function<bool(HWND)>& match, const std::string& what, DWORD timeoutMs) const;

    std::unique_ptr<TempDir> m_ownDir;
    std::string m_startDir;
    PROCESS_INFORMATION m_process = {};
    Window m_main;
};

}  // namespace e2e
