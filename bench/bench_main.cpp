// Benchmarks of the search and the deletion pass under Wine, each against a
// bare loop of the same system calls in the same process. Every figure is the
// median of interleaved runs; nothing here asserts a time.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_mask.h"
#include "engine/search_run.h"
#include "engine/win_deleter.h"
#include "engine/win_file_system.h"
#include "platform/win/ui_seam.h"
#include "platform/win/wide_text.h"
#include "platform/win/win_app.h"
#include "tests/support/settings_bytes.h"
#include "tests/support/temp_dir.h"
#include "ui/main_dlg.h"

namespace {

using testing_support::TempDir;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void MakeFile(const std::string& path)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
}

// Every message box is answered No (the benchmarks raise none).
int AnswerNo(HWND, const char*, const char*, UINT)
{
    return IDNO;
}

// The main window started over a settings file of one pattern: one directory
// (with subfolders) and masks.
struct Program {
    TempDir startDir;
    std::unique_ptr<CMainDlg> dlg;
    Program(const std::string& dir, const std::vector<std::string>& masks)
    {
        testing_support::Pattern pattern{"BENCH", {}, {{dir + "\\", 1}}};
        for (const std::string& m : masks)
            pattern.masks.push_back({m, 0});
        testing_support::WriteFileBytes(startDir / "Tidymoth.use", testing_support::SettingsBytes({pattern}));
        dlg = std::make_unique<CMainDlg>();
        dlg->Create(IDD_MAIN);
    }
    ~Program()
    {
        if (Results().HasWindow())
            Results().DestroyWindow();
        dlg->DestroyWindow();
    }
    CSearchDlg& Results() { return dlg->GetSearchDlg(); }
    // Sets the recycle flag of every line through its box, as the user does.
    void SetAllRecycleFlags(bool recycle)
    {
        HWND window = Results().m_hWnd;
        HWND list = ::GetDlgItem(window, IDC_RESULT_LIST);
        HWND box = ::GetDlgItem(window, IDC_TO_RECYCLE);
        ::SendMessageA(list, LB_SETSEL, TRUE, -1);
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_RESULT_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        const int wanted = recycle ? BST_CHECKED : BST_UNCHECKED;
        for (int i = 0; i < 2 && ::SendMessageA(box, BM_GETCHECK, 0, 0) != wanted; ++i)
            ::SendMessageA(box, BM_CLICK, 0, 0);
    }
};

// ---- The search -------------------------------------------------------------

void BareWalk(std::string dir, const char* mask, std::vector<std::string>& found)
{
    if (!::SetCurrentDirectoryA(dir.c_str()))
        return;
    WIN32_FIND_DATAA e;
    HANDLE h = ::FindFirstFileA(mask, &e);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(dir + "\\" + e.cFileName);
        } while (::FindNextFileA(h, &e));
        ::FindClose(h);
    }
    h = ::FindFirstFileA("*", &e);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::strcmp(e.cFileName, ".") && std::strcmp(e.cFileName, ".."))
            BareWalk(dir + "\\" + e.cFileName, mask, found);
    } while (::FindNextFileA(h, &e));
    ::FindClose(h);
}

// The least a search can do: each folder listed once with "*", the names
// matched in memory, the paths of the files kept.
void BareListingWalk(const std::wstring& dir, const CFileMask& mask, std::vector<std::wstring>& found)
{
    WIN32_FIND_DATAW e;
    HANDLE h = ::FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &e, FindExSearchNameMatch, nullptr,
                                  FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> subfolders;
    do {
        if (!(e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (mask.Takes(e.cFileName))
                found.push_back(dir + L"\\" + e.cFileName);
        } else if (std::wcscmp(e.cFileName, L".") && std::wcscmp(e.cFileName, L"..")) {
            subfolders.push_back(e.cFileName);
        }
    } while (::FindNextFileW(h, &e));
    ::FindClose(h);
    for (const std::wstring& sub : subfolders)
        BareListingWalk(dir + L"\\" + sub, mask, found);
}

// A search with no windows, for the files a bare loop deletes.
class CollectingCaller : public WalkCaller {
public:
    void DirectoryEntered(const CString&) override {}
    int ResultCount() const override { return static_cast<int>(found.size()); }
    void FileFound(const CString&, const CFoundFile& file) override { found.push_back(file); }
    bool StopNow() override { return false; }
    std::vector<CFoundFile> found;
};

// The bytes the process has ever had committed at once.
double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

// 2,000 folders of 20 files, eight extensions taking turns, under 20 more.
void MakeSearchTree(const std::string& root)
{
    const char* ext[] = {"tmp", "log", "dat", "txt", "bak", "ini", "doc", "xls"};
    for (int d = 0; d < 20; ++d) {
        std::string top = root + "\\d" + std::to_string(d);
        ::CreateDirectoryA(top.c_str(), nullptr);
        for (int s = 0; s < 100; ++s) {
            std::string leaf = top + "\\s" + std::to_string(s);
            ::CreateDirectoryA(leaf.c_str(), nullptr);
            for (int f = 0; f < 20; ++f)
                MakeFile(leaf + "\\f" + std::to_string(f) + "." + ext[f % 8]);
        }
    }
}

// The search from "検索開始" to "削除" at 1, 3 and 5 masks, against the walk
// the program made before: each folder entered, listed with the mask and
// listed with "*", once for every mask (the bare loops, no windows).
void SearchBenchmark(int runs)
{
    TempDir tree(false);
    MakeSearchTree(tree.Path());
    const std::vector<std::string> all = {"*.TMP", "*.LOG", "*.DAT", "*.TXT", "*.BAK"};
    const size_t counts[] = {1, 3, 5};
    std::vector<std::unique_ptr<Program>> programs;
    for (size_t count : counts)
        programs.push_back(std::make_unique<Program>(tree.Path(), std::vector<std::string>(all.begin(), all.begin() + count)));

    // The first search of the process, so that its peak is the search's own.
    const double before = PeakMegabytes();
    programs.back()->dlg->OnStartSearch();
    std::printf("search, 5 masks: the process's peak grew by %.1f MB (%d results held)\n", PeakMegabytes() - before,
                programs.back()->Results().GetResultCount());
    programs.back()->Results().DestroyWindow();

    std::vector<std::vector<double>> ours(std::size(counts)), bare(std::size(counts)), ratio(std::size(counts));
    std::vector<double> floor, floorRatio;
    const CFileMask firstMask(L"*.TMP");
    for (int run = 0; run < runs; ++run) {
        {
            double t0 = Now();
            std::vector<std::wstring> found;
            BareListingWalk(WideFromAnsi(tree.Path().c_str()), firstMask, found);
            double t1 = Now();
            floor.push_back(t1 - t0);
        }
        for (size_t k = 0; k < std::size(counts); ++k) {
            double t0 = Now();
            std::vector<std::string> found;
            for (size_t m = 0; m < counts[k]; ++m)
                BareWalk(tree.Path(), all[m].c_str(), found);
            double t1 = Now();
            programs[k]->dlg->OnStartSearch();
            double t2 = Now();
            CSearchDlg& results = programs[k]->Results();
            if (static_cast<int>(found.size()) != results.GetResultCount())
                std::printf("search: unexpected state (%d results, bare %d)\n", results.GetResultCount(),
                            static_cast<int>(found.size()));
            results.DestroyWindow();
            bare[k].push_back(t1 - t0);
            ours[k].push_back(t2 - t1);
            ratio[k].push_back((t2 - t1) / (t1 - t0));
            if (k == 0)
                floorRatio.push_back((t2 - t1) / floor.back());
        }
    }
    for (size_t k = 0; k < std::size(counts); ++k)
        std::printf("search, %d mask%s: %.2f s against %.2f s for the per-mask walk, ratio %.2f\n", static_cast<int>(counts[k]),
                    counts[k] == 1 ? "" : "s", Median(ours[k]), Median(bare[k]), Median(ratio[k]));
    std::printf("search, floor: %.2f s at 1 mask against %.2f s for one listing of each folder, names matched in memory, "
                "ratio %.2f\n",
                Median(ours[0]), Median(floor), Median(floorRatio));
}

// The listing phase alone, timed from the status line that opens it.
WNDPROC g_staticProc = nullptr;
double g_listingStart = 0;

LRESULT CALLBACK StatusProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam && std::strncmp(reinterpret_cast<const char*>(lParam), "リストアップ中", 14) == 0)
        g_listingStart = Now();
    return ::CallWindowProcA(g_staticProc, hWnd, message, wParam, lParam);
}

// The status static exists only once the search creates the window: it is
// hooked from the first drain of the walk.
void CALLBACK HookStatus(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND results = ::FindWindowA("#32770", "検索ダイアログ");
    HWND status = ::GetDlgItem(results, IDC_STATUS);
    g_staticProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusProc)));
}

void ListingBenchmark(int runs)
{
    // Spread over folders: Wine looks for a name in its whole folder before
    // it creates a file, so one folder of 64,000 would take minutes to make.
    TempDir tree(false);
    for (int d = 0; d < 640; ++d) {
        std::string dir = tree / ("d" + std::to_string(d));
        ::CreateDirectoryA(dir.c_str(), nullptr);
        for (int i = 0; i < MAX_RESULTS / 640; ++i)
            MakeFile(dir + "\\file" + std::to_string(i) + ".tmp");
    }
    Program program(tree.Path(), {"*.TMP"});
    std::vector<double> listing;
    for (int run = 0; run < runs; ++run) {
        CMainDlg& dlg = *program.dlg;
        g_listingStart = 0;
        ::SetTimer(nullptr, 0, 0, HookStatus);
        dlg.OnStartSearch();
        double end = Now();
        if (g_listingStart > 0)
            listing.push_back(end - g_listingStart);
        if (program.Results().GetResultCount() != MAX_RESULTS)
            std::printf("listing: %d results\n", program.Results().GetResultCount());
        program.Results().DestroyWindow();
    }
    if (!listing.empty())
        std::printf("listing: 64,000 results listed in %.2f s (median of %d)\n", Median(listing),
                    static_cast<int>(listing.size()));
}

// ---- The deletion pass ----------------------------------------------------

// `count` files in folders of 100 (Wine's cost of creating a file grows with
// the size of its folder).
void MakeFiles(const std::string& dir, const std::string& prefix, int count, std::vector<std::string>* paths)
{
    for (int i = 0; i < count; ++i) {
        std::string folder = dir + "\\" + prefix + "d" + std::to_string(i / 100);
        if (i % 100 == 0)
            ::CreateDirectoryA(folder.c_str(), nullptr);
        std::string path = folder + "\\" + prefix + std::to_string(i) + ".tmp";
        MakeFile(path);
        if (paths)
            paths->push_back(path);
    }
}

int RecycleOne(const std::string& path)
{
    std::vector<char> from(path.begin(), path.end());
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS;
    return ::SHFileOperationA(&op) == 0;
}

// Wine's trash grows with every file moved into it, and creating a file costs
// more the fuller its folder is: each timed phase starts from an empty trash.
void EmptyTrash()
{
    static int emptied = 0;
    const std::string trash = testing_support::TrashFolder();
    if (trash.empty())
        return;
    const std::string kept = trash + "\\..\\Trash.before" + std::to_string(++emptied);
    ::MoveFileA(trash.c_str(), kept.c_str());
    ::CreateDirectoryA(trash.c_str(), nullptr);
    ::CreateDirectoryA((trash + "\\files").c_str(), nullptr);
    ::CreateDirectoryA((trash + "\\info").c_str(), nullptr);
}

void DeletionBenchmark(int runs, int count, bool recycle)
{
    std::vector<double> ours, bare, ratio, checked, floorRatio;
    // For good, a third phase: the checked delete itself, file by file, with
    // no window, over files a search of its own found.
    const int phases = recycle ? 2 : 3;
    for (int run = 0; run < runs; ++run) {
        TempDir dir(false);
        std::string prefix = "r" + std::to_string(run) + "_";
        std::vector<std::string> paths, listed;
        MakeFiles(dir.Path(), "bare" + prefix, count, &paths);
        MakeFiles(dir.Path(), prefix, count, &listed);
        CollectingCaller floorFiles;
        if (!recycle) {
            MakeFiles(dir.Path(), "floor" + prefix, count, nullptr);
            TempDir settingsDir;
            const testing_support::Pattern pattern{"FLOOR", {{"floor" + prefix + "*.TMP", 0}}, {{dir.Path(), 1}}};
            testing_support::WriteFileBytes(settingsDir / "Tidymoth.use", testing_support::SettingsBytes({pattern}));
            CPatternSet set;
            CWinFileSystem fileSystem;
            CSearchRun(fileSystem, floorFiles).Run(set, "");
        }
        Program program(dir.Path(), {prefix + "*.TMP"});
        CSearchDlg& results = program.Results();
        program.dlg->OnStartSearch();
        program.SetAllRecycleFlags(recycle);

        // The phases take turns at going first.
        double bareTime = 0, ourTime = 0, checkedTime = 0;
        for (int phase = 0; phase < phases; ++phase) {
            EmptyTrash();
            double t0 = Now();
            switch ((phase + run) % phases) {
            case 0:
                for (const std::string& p : paths)
                    recycle ? RecycleOne(p) : ::DeleteFileA(p.c_str());
                bareTime = Now() - t0;
                break;
            case 1:
                results.OnAction();
                ourTime = Now() - t0;
                break;
            default: {
                CListedFileDeleter deleter;
                int failed = 0;
                for (const CFoundFile& file : floorFiles.found)
                    failed += deleter.DeletePermanently(file).Deleted() ? 0 : 1;
                checkedTime = Now() - t0;
                if (failed != 0 || static_cast<int>(floorFiles.found.size()) != count)
                    std::printf("deletion floor: %d files, %d failed\n", static_cast<int>(floorFiles.found.size()), failed);
                break;
            }
            }
        }
        int left = 0;
        for (const std::string& path : listed)
            left += ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (results.GetResultCount() != count || left != 0)
            std::printf("deletion: %d results, %d left\n", results.GetResultCount(), left);
        bare.push_back(bareTime);
        ours.push_back(ourTime);
        ratio.push_back(ourTime / bareTime);
        if (!recycle) {
            checked.push_back(checkedTime);
            floorRatio.push_back(ourTime / checkedTime);
        }
    }
    std::printf("deletion pass, %d files %s: %.2f s; bare %s loop %.2f s; ratio %.2f (median of %d)\n", count,
                recycle ? "into the Recycle Bin" : "deleted permanently", Median(ours),
                recycle ? "SHFileOperationA" : "DeleteFileA", Median(bare), Median(ratio), runs);
    if (!recycle)
        std::printf("deletion pass, floor: %.2f s against %.2f s for a bare loop of the checked delete (open, identity, "
                    "delete, close), ratio %.2f\n",
                    Median(ours), Median(checked), Median(floorRatio));
}

// ---- The console program at scale ---------------------------------------------

struct ConsoleFigures {
    double seconds = 0;
    double peakMegabytes = 0;
    DWORD code = 0;
};

// TidymothC.exe, beside this program, run with `args`, its streams into
// files in `dir`: how long it took, its peak of committed memory, its exit code.
ConsoleFigures RunConsole(const std::string& dir, const std::string& args)
{
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe = self;
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + "TidymothC.exe";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = ::CreateFileA((dir + "\\out.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    startup.hStdError = ::CreateFileA((dir + "\\err.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    std::string command = "\"" + exe + "\" " + args;
    PROCESS_INFORMATION process = {};
    ConsoleFigures figures;
    const double t0 = Now();
    if (::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, dir.c_str(), &startup, &process)) {
        // Read while it runs: once it has ended, Wine no longer tells.
        SIZE_T peak = 0;
        do {
            PROCESS_MEMORY_COUNTERS counters = {};
            counters.cb = sizeof counters;
            if (::GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters) && counters.PeakPagefileUsage > peak)
                peak = counters.PeakPagefileUsage;
        } while (::WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT);
        figures.seconds = Now() - t0;
        figures.peakMegabytes = static_cast<double>(peak) / (1024.0 * 1024.0);
        ::GetExitCodeProcess(process.hProcess, &figures.code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    return figures;
}

// `list` and `delete --permanent` over trees of the same shape, folders of
// 100 matching files, at two sizes: the time per file and the peak memory of
// the larger against the smaller. One run each: the larger tree takes minutes
// to make under Wine.
void ConsoleBenchmark()
{
    const int sizes[] = {20000, 200000};
    double perFile[2][2] = {}, peak[2][2] = {};
    for (int k = 0; k < 2; ++k) {
        TempDir tree(false), work(false);
        MakeFiles(tree.Path(), "c", sizes[k], nullptr);
        const testing_support::Pattern pattern{"SCALE", {{"*.TMP", 0}}, {{tree.Path(), 1}}};
        testing_support::WriteFileBytes(work / "Tidymoth.use", testing_support::SettingsBytes({pattern}));
        const char* commands[] = {"list", "delete --permanent"};
        for (int c = 0; c < 2; ++c) {
            const ConsoleFigures figures = RunConsole(work.Path(), std::string(commands[c]) + " --settings Tidymoth.use");
            perFile[k][c] = figures.seconds / sizes[k] * 1e6;
            peak[k][c] = figures.peakMegabytes;
            std::printf("console at scale: %s over %d files: %.1f s, %.0f us a file, peak memory %.1f MB, exit code %lu\n",
                        commands[c], sizes[k], figures.seconds, perFile[k][c], figures.peakMegabytes,
                        static_cast<unsigned long>(figures.code));
        }
    }
    for (int c = 0; c < 2; ++c) {
        std::printf("console at scale: %s, 200,000 against 20,000 files: time per file ratio %.2f, peak memory %+.1f MB\n",
                    c == 0 ? "list" : "delete --permanent", perFile[1][c] / perFile[0][c], peak[1][c] - peak[0][c]);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    platform::RestrictDllSearch();
    platform::LoadCommonControls(ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    platform::SetMessageBoxHandler(AnswerNo);
    std::string which = argc > 1 ? argv[1] : "all";
    int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    if (which == "all" || which == "search")
        SearchBenchmark(runs);
    if (which == "all" || which == "listing")
        ListingBenchmark(runs);
    if (which == "all" || which == "delete")
        DeletionBenchmark(runs, 10000, false);
    if (which == "all" || which == "recycle")
        DeletionBenchmark(runs, 2000, true);
    if (which == "all" || which == "console")
        ConsoleBenchmark();
    return 0;
}
