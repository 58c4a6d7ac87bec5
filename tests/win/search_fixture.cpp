#include "tests/win/search_fixture.h"

#include <commctrl.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win/message_loop.h"

namespace win_test {

// ---- Files ----------------------------------------------------------------

bool MakeDirectoryLink(const std::string& link, const std::string& target)
{
    if (OnWine())
        return RunHostShell("ln -s '" + HostPathOf(target) + "' '" + HostPathOf(link) + "'") == 0;
    std::string command = "cmd.exe /c mklink /J \"" + link + "\" \"" + target + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
        return false;
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return FileExists(link);
}

bool WriteNewFile(const std::string& path, const std::string& content)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = content.empty() || (::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                                  written == content.size());
    ::CloseHandle(file);
    return ok;
}

std::string FileContent(const std::string& path)
{
    testing_support::Bytes bytes;
    if (!testing_support::ReadFileBytes(path, bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}

bool MakeNumberedFiles(const std::string& dir, int count)
{
    if (OnWine()) {
        std::string host = HostPathOf(dir);
        char script[512];
        std::sprintf(script, "cd '%s' && seq -f 'F%%05g.DAT' 1 %d | xargs touch", host.c_str(), count);
        return !host.empty() && RunHostShell(script) == 0;
    }
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::sprintf(name, "\\F%05d.DAT", i);
        if (!WriteNewFile(dir + name))
            return false;
    }
    return true;
}

void RemoveWholeTree(const std::string& path)
{
    std::string host = OnWine() ? HostPathOf(path) : std::string();
    if (!host.empty() && RunHostShell("rm -rf '" + host + "'") == 0)
        return;
    testing_support::RemoveTree(path);
}

std::vector<std::string> Enumerate(const std::string& dir, const std::string& mask, bool directories)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((dir + "\\" + mask).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir == directories && std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0)
            names.push_back(entry.cFileName);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
}

// ---- Acting inside the program's loops -------------------------------------

namespace {

ResultsSpy* g_spy = nullptr;

// ---- Drain steps ----

const UINT WM_DRAIN_STEP = WM_APP + 0x4D;
std::vector<std::function<bool()>> g_steps;
bool g_stepPosted = false;

LRESULT CALLBACK StepWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_DRAIN_STEP)
        return ::DefWindowProcA(window, message, wParam, lParam);
    // Steps that go on wait for the next step of the program's loops.
    g_stepPosted = true;
    std::vector<std::function<bool()>> steps;
    steps.swap(g_steps);
    for (auto& step : steps) {
        if (step())
            g_steps.push_back(step);
    }
    g_stepPosted = false;
    return 0;
}

HWND StepWindow()
{
    static HWND window = nullptr;
    if (!window) {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = StepWindowProc;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpszClassName = "TidymothTestDrainSteps";
        ::RegisterClassA(&cls);
        window = ::CreateWindowA(cls.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    }
    return window;
}

void PostDrainStep()
{
    if (g_steps.empty() || g_stepPosted)
        return;
    g_stepPosted = true;
    ::PostMessageA(StepWindow(), WM_DRAIN_STEP, 0, 0);
}

// Waits out the drain interval. Wine's tick count is refreshed by its
// server, which a plain Sleep does not wake: the wait goes through it.
void WaitOutDrainInterval()
{
    static HANDLE never = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::WaitForSingleObject(never, CThrottledDrain::DRAIN_INTERVAL_MS + 5);
}

// A step of the program's loops: the next drain runs the drain steps.
void OnLoopStep()
{
    PostDrainStep();
    if (g_spy && g_spy->slow && g_spy->slow())
        WaitOutDrainInterval();
}

using GetInformation = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using Close = BOOL(WINAPI*)(HANDLE);
GetInformation g_getInformation = nullptr;
Close g_close = nullptr;

// A folder listing read in batches is handed to the program one entry at a
// time, each entry a step: the batch read last and the entries left of it.
struct PendingEntries {
    HANDLE folder = nullptr;
    std::vector<char> batch;
    size_t next = 0;
    bool pending = false;
} g_pending;

BOOL WINAPI SlowGetFileInformationByHandleEx(HANDLE handle, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID buffer, DWORD size)
{
    if (kind != FileIdBothDirectoryInfo && kind != FileIdBothDirectoryRestartInfo)
        return g_getInformation(handle, kind, buffer, size);
    OnLoopStep();
    PendingEntries& p = g_pending;
    if (!p.pending || p.folder != handle || kind == FileIdBothDirectoryRestartInfo) {
        p.batch.assign(size, 0);
        if (!g_getInformation(handle, kind, p.batch.data(), size)) {
            p.pending = false;
            return FALSE;
        }
        p.folder = handle;
        p.next = 0;
        p.pending = true;
    }
    auto* entry = reinterpret_cast<FILE_ID_BOTH_DIR_INFO*>(p.batch.data() + p.next);
    const size_t bytes = entry->NextEntryOffset ? entry->NextEntryOffset : offsetof(FILE_ID_BOTH_DIR_INFO, FileName) + entry->FileNameLength;
    std::memcpy(buffer, entry, bytes);
    reinterpret_cast<FILE_ID_BOTH_DIR_INFO*>(buffer)->NextEntryOffset = 0;
    if (entry->NextEntryOffset)
        p.next += entry->NextEntryOffset;
    else
        p.pending = false;
    return TRUE;
}

BOOL WINAPI SlowCloseHandle(HANDLE handle)
{
    if (g_pending.pending && g_pending.folder == handle)
        g_pending.pending = false;
    return g_close(handle);
}

// Points every import of `from` in this program at `to`.
void RedirectImports(void* from, void* to)
{
    BYTE* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name; ++module) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk); slot->u1.Function; ++slot) {
            if (reinterpret_cast<void*>(slot->u1.Function) != from)
                continue;
            DWORD old;
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_EXECUTE_READWRITE, &old);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(to);
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
        }
    }
}

void* Export(const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), name));
}

}  // namespace

ResultsSpy::ResultsSpy()
{
    g_spy = this;
    m_hook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &ResultsSpy::Hook, nullptr, ::GetCurrentThreadId());
    g_getInformation = reinterpret_cast<GetInformation>(Export("GetFileInformationByHandleEx"));
    g_close = reinterpret_cast<Close>(Export("CloseHandle"));
    g_pending.pending = false;
    RedirectImports(reinterpret_cast<void*>(g_getInformation), reinterpret_cast<void*>(&SlowGetFileInformationByHandleEx));
    RedirectImports(reinterpret_cast<void*>(g_close), reinterpret_cast<void*>(&SlowCloseHandle));
}

ResultsSpy::~ResultsSpy()
{
    Stop();
}

void ResultsSpy::Stop()
{
    if (g_spy != this)
        return;
    RedirectImports(reinterpret_cast<void*>(&SlowGetFileInformationByHandleEx), reinterpret_cast<void*>(g_getInformation));
    RedirectImports(reinterpret_cast<void*>(&SlowCloseHandle), reinterpret_cast<void*>(g_close));
    g_pending.pending = false;
    ::UnhookWindowsHookEx(m_hook);
    g_spy = nullptr;
}

LRESULT CALLBACK ResultsSpy::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_spy && sent) {
        // The results window's controls have identifiers of their own.
        int id = ::GetDlgCtrlID(sent->hwnd);
        if (sent->message == WM_SETTEXT && id == IDC_STATUS)
            g_spy->statusTexts.push_back(WindowText(sent->hwnd));
        if ((sent->message == LB_ADDSTRING || sent->message == LB_INSERTSTRING) && id == IDC_RESULT_LIST)
            OnLoopStep();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void EachDrain(std::function<bool()> step)
{
    g_steps.push_back(std::move(step));
    PostDrainStep();
}

void AtDrain(std::function<bool()> when, std::function<void()> action)
{
    EachDrain([when, action] {
        if (!when())
            return true;
        action();
        return false;
    });
}

void CancelDrainSteps()
{
    g_steps.clear();
}

namespace {

MSG KeyDown(HWND target, WPARAM key)
{
    MSG msg = {};
    msg.hwnd = target;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(static_cast<UINT>(key), 0)) << 16);
    msg.time = ::GetTickCount();
    return msg;
}

HWND KeyTarget(HWND dialog)
{
    HWND focus = ::GetFocus();
    return focus && (focus == dialog || ::IsChild(dialog, focus)) ? focus : dialog;
}

}  // namespace

void PressDialogKey(HWND dialog, WPARAM key)
{
    MSG msg = KeyDown(KeyTarget(dialog), key);
    if (!::IsDialogMessageA(dialog, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PostKeyToFocus(HWND dialog, WPARAM key)
{
    MSG msg = KeyDown(KeyTarget(dialog), key);
    ::PostMessageA(msg.hwnd, WM_KEYDOWN, key, msg.lParam);
    ::PostMessageA(msg.hwnd, WM_KEYUP, key, msg.lParam | 0xC0000000);
}

// ---- The fixture -----------------------------------------------------------

void SearchFixture::SetUp()
{
    main = std::make_unique<CMainDlg>();
    ASSERT_TRUE(main->Create(IDD_MAIN));
    ::SetForegroundWindow(main->m_hWnd);
    PumpPending();
}

void SearchFixture::TearDown()
{
    CancelDrainSteps();
    CancelDrainActions();
    if (main && main->m_hWnd)
        main->DestroyWindow();
    main.reset();
    PumpPending();
    CancelDrainActions();
    testing_support::ChangeDirectory(temp.Path());
}

std::string SearchFixture::PathOf(const std::string& relative) const
{
    return relative.empty() ? temp.Path() : temp / relative;
}

std::string SearchFixture::MakeFile(const std::string& relative, const std::string& content)
{
    size_t cut = relative.rfind('\\');
    if (cut != std::string::npos)
        MakeDir(relative.substr(0, cut));
    std::string path = PathOf(relative);
    EXPECT_TRUE(WriteNewFile(path, content)) << path;
    return path;
}

std::string SearchFixture::MakeDir(const std::string& relative)
{
    // Names are ASCII or whole code-page-932 characters whose second byte
    // may be 0x5C: find the separators by character.
    std::string partial;
    const char* p = relative.c_str();
    while (*p) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) {
            partial.append(p, 2);
            p += 2;
            continue;
        }
        if (*p == '\\')
            ::CreateDirectoryA(PathOf(partial).c_str(), nullptr);
        partial += *p++;
    }
    ::CreateDirectoryA(PathOf(partial).c_str(), nullptr);
    return PathOf(relative);
}

std::string SearchFixture::AddDir(const std::string& path, bool subfolders)
{
    ::SetWindowTextA(MainControl(IDC_DIR_EDIT), path.c_str());
    ::SendMessageA(MainControl(IDC_SUBFOLDERS), BM_SETCHECK, subfolders ? BST_CHECKED : BST_UNCHECKED, 0);
    const std::vector<std::string> before = ListItems(MainControl(IDC_DIR_LIST));
    ClickMain(IDC_ADD_DIR);
    const std::vector<std::string> after = ListItems(MainControl(IDC_DIR_LIST));
    EXPECT_EQ(before.size() + 1, after.size()) << path;
    return after.empty() ? std::string() : after.back();
}

void SearchFixture::AddMask(const std::string& mask)
{
    ::SetWindowTextA(MainControl(IDC_MASK_EDIT), mask.c_str());
    const size_t before = ListItems(MainControl(IDC_MASK_LIST)).size();
    ClickMain(IDC_ADD_MASK);
    EXPECT_EQ(before + 1, ListItems(MainControl(IDC_MASK_LIST)).size()) << mask;
}

void SearchFixture::StartFrom(const std::vector<Entry>& dirs, const std::vector<Entry>& masks)
{
    if (main && main->m_hWnd)
        main->DestroyWindow();
    ASSERT_TRUE(WriteFileBytes(PathOf(kSettingsFile), SettingsBytes({Pattern{"P", masks, dirs}})));
    main = std::make_unique<CMainDlg>();
    ASSERT_TRUE(main->Create(IDD_MAIN));
    PumpPending();
}

int SearchFixture::BoxFor(const std::vector<int>& lines, int box)
{
    Select(lines);
    return CheckOf(box);
}

std::vector<int> SearchFixture::LineFlags(int box, int count)
{
    const std::vector<int> selection = Selection();
    const int shownDelete = CheckOf(IDC_DELETE_THIS), shownRecycle = CheckOf(IDC_TO_RECYCLE);
    std::vector<int> flags;
    for (int line = 0; line < count; ++line)
        flags.push_back(BoxFor({line}, box) == BST_CHECKED ? 1 : 0);
    Select(selection);
    ::SendMessageA(Control(IDC_DELETE_THIS), BM_SETCHECK, static_cast<WPARAM>(shownDelete), 0);
    ::SendMessageA(Control(IDC_TO_RECYCLE), BM_SETCHECK, static_cast<WPARAM>(shownRecycle), 0);
    return flags;
}

void SearchFixture::Click(int id)
{
    HWND button = Control(id);
    ASSERT_NE(nullptr, button) << "no control " << id;
    ASSERT_TRUE(::IsWindowEnabled(button)) << "control " << id << " is disabled";
    ::SendMessageA(button, BM_CLICK, 0, 0);
}

void SearchFixture::ClickMain(int id)
{
    HWND button = MainControl(id);
    ASSERT_TRUE(::IsWindowEnabled(button)) << "main window control " << id << " is disabled";
    ::SendMessageA(button, BM_CLICK, 0, 0);
}

void SearchFixture::Select(const std::vector<int>& lines)
{
    HWND list = Control(IDC_RESULT_LIST);
    ::SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (int line : lines)
        ::SendMessageA(list, LB_SETSEL, TRUE, line);
    ::SendMessageA(ResultsWindow(), WM_COMMAND, MAKEWPARAM(IDC_RESULT_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void SearchFixture::SelectAll()
{
    HWND list = Control(IDC_RESULT_LIST);
    ::SendMessageA(list, LB_SETSEL, TRUE, -1);
    ::SendMessageA(ResultsWindow(), WM_COMMAND, MAKEWPARAM(IDC_RESULT_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void SearchFixture::SetFlags(int line, int deleteFlag, int recycleFlag)
{
    Select({line});
    // A click moves an unchecked box to checked and a checked one on to
    // indeterminate, which the window shows as unchecked.
    for (int i = 0; i < 2 && CheckOf(IDC_DELETE_THIS) != (deleteFlag ? BST_CHECKED : BST_UNCHECKED); ++i)
        Click(IDC_DELETE_THIS);
    for (int i = 0; i < 2 && CheckOf(IDC_TO_RECYCLE) != (recycleFlag ? BST_CHECKED : BST_UNCHECKED); ++i)
        Click(IDC_TO_RECYCLE);
    // Shown afresh from the line's flags.
    EXPECT_EQ(deleteFlag ? BST_CHECKED : BST_UNCHECKED, BoxFor({line}, IDC_DELETE_THIS));
    EXPECT_EQ(recycleFlag ? BST_CHECKED : BST_UNCHECKED, CheckOf(IDC_TO_RECYCLE));
}

void SearchFixture::ExpectReady(const std::vector<std::string>& lines)
{
    ASSERT_NE(nullptr, ResultsWindow()) << "no results window";
    EXPECT_EQ(ReadyState(lines), State());
    EXPECT_EQ(std::vector<int>{0}, Selection());
    EXPECT_TRUE(::IsWindowVisible(ResultsWindow()));
    ExpectLinesFit();
    // Every line is ticked both ways.
    SelectAll();
    EXPECT_EQ(BST_CHECKED, CheckOf(IDC_DELETE_THIS));
    EXPECT_EQ(BST_CHECKED, CheckOf(IDC_TO_RECYCLE));
    Select({0});
}

void SearchFixture::ExpectLinesFit()
{
    const HWND list = Control(IDC_RESULT_LIST);
    const HDC dc = ::GetDC(list);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const std::wstring line = testing_support::WideListItem(list, i);
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = size.cx > widest ? size.cx : widest;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    EXPECT_GE(::SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), widest);
}

void SearchFixture::ExpectNothingFound()
{
    ASSERT_NE(nullptr, ResultsWindow()) << "no results window";
    EXPECT_EQ(NothingFoundState(), State());
    EXPECT_TRUE(::IsWindowVisible(ResultsWindow()));
    EXPECT_EQ(0, Results().GetResultCount());
}

void SearchFixture::ExpectDone(const std::vector<std::string>& lines, int lastHandled)
{
    ASSERT_NE(nullptr, ResultsWindow()) << "no results window";
    // The disabled boxes keep what they showed; the tests that care say so.
    const ResultsState got = State();
    EXPECT_EQ(DoneState(lines, lastHandled, got.deleteCheck, got.recycleCheck), got);
    ExpectLinesFit();
    EXPECT_TRUE(::IsWindowVisible(ResultsWindow()));
    EXPECT_FALSE(Results().IsPassRunning());
}

void SearchFixture::ExpectQuestion(const RecordedBox& box, const char* caption, const char* text, HWND owner)
{
    EXPECT_EQ(text, box.text);
    EXPECT_EQ(caption, box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), box.type);
    EXPECT_EQ(owner, box.owner);
}

std::vector<std::string> WithMark(std::vector<std::string> lines, const char* mark, size_t count)
{
    for (size_t i = 0; i < lines.size() && i < count; ++i)
        lines[i] += mark;
    return lines;
}

}  // namespace win_test

namespace win_test {

void SearchFixture::ExpectPatternCommandsLocked(bool locked)
{
    for (int id : {IDC_START_SEARCH, IDC_NEW_PATTERN, IDC_DELETE_PATTERN, IDC_PATTERN_COMBO, IDC_ADD_MASK, IDC_REMOVE_MASK,
                   IDC_ADD_DIR, IDC_REMOVE_DIR, IDC_SUBFOLDERS})
        EXPECT_EQ(!locked, ::IsWindowEnabled(MainControl(id)) != FALSE) << "control " << id;
    if (!locked)
        return;
    // The pattern as the window shows it.
    auto shownPattern = [&] {
        return std::vector<std::string>{WindowText(MainControl(IDC_PATTERN_COMBO)),
                                        std::to_string(::SendMessageA(MainControl(IDC_PATTERN_COMBO), CB_GETCOUNT, 0, 0))};
    };
    const std::vector<std::string> pattern = shownPattern();
    const std::vector<std::string> masks = ListItems(MainControl(IDC_MASK_LIST));
    const std::vector<std::string> dirs = ListItems(MainControl(IDC_DIR_LIST));
    const size_t shown = boxes.Count();
    ::SetWindowTextA(MainControl(IDC_MASK_EDIT), "*.NEW");
    ::SendMessageA(MainControl(IDC_MASK_LIST), LB_SETCURSEL, 0, 0);
    ::SendMessageA(MainControl(IDC_DIR_LIST), LB_SETCURSEL, 0, 0);
    main->OnNewPattern();
    main->OnDeletePattern();
    main->OnAddMask();
    main->OnRemoveMask();
    main->OnRemoveDir();
    main->OnCloseupPatternCombo();
    EXPECT_EQ(pattern, shownPattern());
    EXPECT_EQ(masks, ListItems(MainControl(IDC_MASK_LIST)));
    EXPECT_EQ(dirs, ListItems(MainControl(IDC_DIR_LIST)));
    EXPECT_EQ(shown, boxes.Count());
    ::SetWindowTextA(MainControl(IDC_MASK_EDIT), "");
}

}  // namespace win_test
