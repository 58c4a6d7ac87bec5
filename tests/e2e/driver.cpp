#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <cstdio>

namespace e2e {
namespace {

const int MESSAGE_TEXT_ID = 0xFFFF;
const int BROWSER_TREE_ID = 0x3741;
const DWORD POLL_MS = 5;

FailureReporter g_reporter;

struct EnumState {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    EnumState& state = *reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == state.pid)
        state.windows.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid, bool visibleOnly)
{
    EnumState state{pid, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    std::vector<HWND> result;
    for (HWND w : state.windows) {
        if (!visibleOnly || ::IsWindowVisible(w))
            result.push_back(w);
    }
    return result;
}

bool IsMessageBox(HWND window)
{
    if (ClassName(window) != "#32770")
        return false;
    std::string caption = WindowText(window);
    if (caption == kMainCaption || caption == kResultsCaption || caption == kAboutCaption)
        return false;
    if (::GetDlgItem(window, BROWSER_TREE_ID))
        return false;
    HWND text = ::GetDlgItem(window, MESSAGE_TEXT_ID);
    return text && ClassName(text) == "Static";
}

LPARAM KeyData(UINT vk, bool up)
{
    LPARAM data = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(vk, 0 /* MAPVK_VK_TO_VSC */)) << 16);
    if (up)
        data |= static_cast<LPARAM>(0xC0000000u);
    return data;
}

// Returns once every message posted to the field's thread before the call
// has been handled (or waits in a nested loop, such as a message box): a
// harmless posted message whose effect can be read back. The field's text
// limit toggles between two values far beyond any text.
bool Barrier(HWND field)
{
    const LRESULT now = ::SendMessageA(field, EM_GETLIMITTEXT, 0, 0);
    const LRESULT limit = now == 0x7FFFFFF0 ? 0x7FFFFFF1 : 0x7FFFFFF0;
    if (!::PostMessageA(field, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0) ||
        !WaitUntil([&] { return ::SendMessageA(field, EM_GETLIMITTEXT, 0, 0) == limit || !::IsWindow(field); }) ||
        !::IsWindow(field)) {
        ReportFailure("the program did not handle its messages");
        return false;
    }
    return true;
}

BOOL CALLBACK FindEditField(HWND window, LPARAM lParam)
{
    HWND& field = *reinterpret_cast<HWND*>(lParam);
    field = ::FindWindowExA(window, nullptr, "Edit", nullptr);
    return field ? FALSE : TRUE;
}

// Waits until the thread of `window` has handled every message posted to it
// before the call, through an edit field of any of that thread's windows.
bool SyncThreadOf(HWND window)
{
    HWND field = nullptr;
    DWORD thread = window ? ::GetWindowThreadProcessId(window, nullptr) : 0;
    if (thread)
        ::EnumThreadWindows(thread, FindEditField, reinterpret_cast<LPARAM>(&field));
    if (!field) {
        ReportFailure("sync: the program has no window left");
        return false;
    }
    return Barrier(field);
}

}  // namespace

void SetFailureReporter(FailureReporter reporter)
{
    g_reporter = std::move(reporter);
}

void ReportFailure(const std::string& what)
{
    if (g_reporter)
        g_reporter(what);
    else
        std::fprintf(stderr, "e2e: %s\n", what.c_str());
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return condition();
        ::Sleep(POLL_MS);
    }
}

// ---- Window: acting -------------------------------------------------------

bool Window::Usable(int id, const char* action) const
{
    char what[96];
    std::snprintf(what, sizeof what, "%s on control %d of \"", action, id);
    std::string where = std::string(what) + Utf8(Caption()) + "\": ";
    // The state as the user sees it once the earlier actions are done.
    if (Exists() && !SyncThreadOf(m_hWnd))
        return false;
    HWND item = Item(id);
    if (!Exists() || !item) {
        ReportFailure(where + "no such window or control");
        return false;
    }
    if (!::IsWindowEnabled(m_hWnd) || !::IsWindowEnabled(item)) {
        ReportFailure(where + "disabled, a user could not reach it");
        return false;
    }
    if (!::IsWindowVisible(m_hWnd) || !::IsWindowVisible(item)) {
        ReportFailure(where + "hidden, a user could not reach it");
        return false;
    }
    return true;
}

bool Window::Click(int id) const
{
    return Usable(id, "click") && ::PostMessageA(Item(id), BM_CLICK, 0, 0);
}

bool Window::Type(int id, const std::string& text) const
{
    return TypeWide(id, testing_support::Wide932(text));
}

bool Window::TypeWide(int id, const std::wstring& text) const
{
    if (!Usable(id, "type"))
        return false;
    HWND control = Item(id);
    const bool combo = ClassName(control) == "ComboBox";
    HWND field = combo ? ::FindWindowExA(control, nullptr, "Edit", nullptr) : control;
    if (!field) {
        ReportFailure("type: the combo box has no text field");
        return false;
    }
    // Characters as a keyboard or an input method delivers them: Unicode
    // WM_CHAR, one UTF-16 unit at a time.
    bool ok = ::PostMessageW(field, EM_SETSEL, 0, -1) != 0;
    if (text.empty())
        return ok && ::PostMessageW(field, WM_CHAR, VK_BACK, KeyData(VK_BACK, false));
    for (wchar_t c : text)
        ok = ok && ::PostMessageW(field, WM_CHAR, static_cast<WPARAM>(c), 1);
    return ok;
}

bool Window::SelectLine(int id, int index) const
{
    if (!Usable(id, "select a line"))
        return false;
    HWND list = Item(id);
    // Posted like everything else, so it keeps its place among earlier actions.
    return ::PostMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0) &&
           ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool Window::SelectLines(int id, const std::vector<int>& lines) const
{
    if (!Usable(id, "select lines"))
        return false;
    HWND list = Item(id);
    bool ok = ::PostMessageA(list, LB_SETSEL, FALSE, -1) != 0;
    for (int line : lines)
        ok = ok && ::PostMessageA(list, LB_SETSEL, TRUE, line);
    return ok && ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool Window::ShowDropDown(int id, bool show) const
{
    return Usable(id, show ? "open the list" : "close the list") &&
           ::PostMessageA(Item(id), CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0);
}

bool Window::ChooseComboItem(int id, int index) const
{
    return ShowDropDown(id, true) && ::PostMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0) &&
           ShowDropDown(id, false);
}

bool Window::PressKey(int id, UINT vk) const
{
    if (!Usable(id, "press a key"))
        return false;
    HWND target = Item(id);
    if (ClassName(target) == "ComboBox") {
        if (HWND field = ::FindWindowExA(target, nullptr, "Edit", nullptr))
            target = field;
    }
    return ::PostMessageA(target, WM_KEYDOWN, vk, KeyData(vk, false)) && ::PostMessageA(target, WM_KEYUP, vk, KeyData(vk, true));
}

bool Window::PostToWindow(UINT message, WPARAM wParam, const char* what) const
{
    if (Exists() && !SyncThreadOf(m_hWnd))
        return false;
    if (!IsEnabled()) {
        ReportFailure(std::string(what) + ": the window is gone or disabled");
        return false;
    }
    return ::PostMessageA(m_hWnd, message, wParam, 0) != 0;
}

// ---- Tidymoth -------------------------------------------------------------

Tidymoth::Tidymoth() : m_ownDir(std::make_unique<TempDir>(false)), m_startDir(m_ownDir->Path()) {}

Tidymoth::Tidymoth(const std::string& startDir) : m_startDir(startDir) {}

Tidymoth::~Tidymoth()
{
    if (IsRunning())
        Kill();
    if (m_process.hProcess) {
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
}

std::string Tidymoth::ExePath()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, n < sizeof path ? n : 0);
    size_t cut = self.find_last_of('\\');
    return (cut == std::string::npos ? std::string() : self.substr(0, cut + 1)) + "Tidymoth.exe";
}

bool Tidymoth::WriteSettings(const Bytes& bytes) const
{
    return testing_support::WriteFileBytes(SettingsPath(), bytes);
}

Bytes Tidymoth::ReadSettings() const
{
    Bytes bytes;
    testing_support::ReadFileBytes(SettingsPath(), bytes);
    return bytes;
}

bool Tidymoth::HasSettings() const
{
    return testing_support::FileExists(SettingsPath());
}

bool Tidymoth::Start(const std::string& exe)
{
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, m_startDir.c_str(), &startup,
                          &m_process)) {
        ReportFailure("cannot start " + exe);
        return false;
    }
    bool shown = WaitUntil([&] {
        m_main = FindWindowByCaption(kMainCaption);
        return m_main.Exists() || !IsRunning();
    });
    if (!m_main.Exists()) {
        ReportFailure(IsRunning() ? "the main window did not appear" : "Tidymoth.exe ended before its window appeared");
        return false;
    }
    return shown;
}

bool Tidymoth::IsRunning() const
{
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool Tidymoth::WaitForExit(DWORD timeoutMs)
{
    if (!m_process.hProcess)
        return true;
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        return true;
    ReportFailure("Tidymoth.exe did not end");
    return false;
}

std::vector<HWND> Tidymoth::TopWindows() const
{
    return m_process.hProcess ? WindowsOf(m_process.dwProcessId, true) : std::vector<HWND>();
}

Window Tidymoth::FindWindowByCaption(const std::string& caption) const
{
    for (HWND w : TopWindows()) {
        if (WindowText(w) == caption)
            return Window(w);
    }
    return Window();
}

Window Tidymoth::WaitForTopWindow(const std::function<bool(HWND)>& match, const std::string& what, DWORD timeoutMs) const
{
    Window found;
    auto look = [&] {
        for (HWND w : TopWindows()) {
            if (match(w))
                return (found = Window(w)).Exists();
        }
        return false;
    };
    if (!WaitUntil(look, timeoutMs))
        ReportFailure(what + " did not appear");
    return found;
}

Window Tidymoth::WaitForWindow(const std::string& caption, DWORD timeoutMs) const
{
    return WaitForTopWindow([&](HWND w) { return WindowText(w) == caption; }, "window \"" + Utf8(caption) + "\"", timeoutMs);
}

std::vector<Window> Tidymoth::MessageBoxes() const
{
    std::vector<Window> boxes;
    if (!m_process.hProcess)
        return boxes;
    // Hidden ones too: a box is created before it is shown.
    for (HWND w : WindowsOf(m_process.dwProcessId, false)) {
        if (IsMessageBox(w))
            boxes.push_back(Window(w));
    }
    return boxes;
}

Window Tidymoth::WaitForMessageBox(DWORD timeoutMs) const
{
    return WaitForTopWindow(IsMessageBox, "a message box", timeoutMs);
}

bool Tidymoth::Answer(const std::string& caption, const std::string& text, int id) const
{
    Window box = WaitForMessageBox();
    if (!box.Exists())
        return false;
    std::string gotCaption = box.Caption();
    std::string gotText = box.Text(MESSAGE_TEXT_ID);
    if (gotCaption != caption || gotText != text) {
        ReportFailure("message box \"" + Utf8(gotCaption) + "\": \"" + Utf8(gotText) + "\"; expected \"" + Utf8(caption) +
                      "\": \"" + Utf8(text) + "\"");
        return false;
    }
    return Press(box, id);
}

bool Tidymoth::Press(const Window& box, int id) const
{
    HWND button = box.Item(id);
    if (!box.Exists() || !button || !::IsWindowEnabled(button)) {
        char what[64];
        std::snprintf(what, sizeof what, "no enabled button %d in \"", id);
        ReportFailure(what + Utf8(box.Caption()) + "\"");
        return false;
    }
    ::PostMessageA(box.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!WaitUntil([&] { return !box.Exists() || !::IsWindowVisible(box.Handle()); })) {
        ReportFailure("\"" + Utf8(box.Caption()) + "\" stayed open");
        return false;
    }
    return true;
}

Window Tidymoth::WaitForFolderBrowser(DWORD timeoutMs) const
{
    return WaitForTopWindow([](HWND w) { return ClassName(w) == "#32770" && ::GetDlgItem(w, BROWSER_TREE_ID); },
                            "the folder browser", timeoutMs);
}

HWND Tidymoth::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!m_process.hProcess || !::GetGUIThreadInfo(m_process.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

bool Tidymoth::PressKey(UINT vk) const
{
    HWND focus = Focus();
    if (!focus) {
        ReportFailure("press a key: no window has the focus");
        return false;
    }
    return ::PostMessageA(focus, WM_KEYDOWN, vk, KeyData(vk, false)) && ::PostMessageA(focus, WM_KEYUP, vk, KeyData(vk, true));
}

bool Tidymoth::Sync() const
{
    if (!IsRunning()) {
        ReportFailure("sync: Tidymoth.exe is not running");
        return false;
    }
    return SyncThreadOf(m_main.Handle());
}

void Tidymoth::Kill()
{
    if (!m_process.hProcess)
        return;
    ::TerminateProcess(m_process.hProcess, 99);
    ::WaitForSingleObject(m_process.hProcess, WAIT_TIMEOUT_MS);
}

}  // namespace e2e
