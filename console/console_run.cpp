#include "console/console_run.h"

#include <atomic>
#include <memory>
#include <vector>

#include "console/console_output.h"
#include "console/report_text.h"
#include "engine/search_run.h"
#include "engine/win_file_system.h"
#include "patterns/pattern_set.h"
#include "platform/file.h"
#include "platform/system.h"
#include "platform/win/handles.h"
#include "platform/win/wide_text.h"

namespace {

std::atomic<bool> g_interrupted{false};

std::wstring Number(long long n)
{
    return std::to_wstring(n);
}

std::wstring Seconds(ULONGLONG ms)
{
    return std::to_wstring(ms / 1000) + L"." + std::to_wstring(ms % 1000 / 100);
}

// The full form of a path, or empty where it has none.
std::wstring FullPathOf(const std::wstring& path)
{
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    if (n == 0 || ::GetFullPathNameW(path.c_str(), n, &full[0], nullptr) >= n)
        return std::wstring();
    full.resize(n - 1);
    return full;
}

// The folder of a file named by its full path, or empty.
CString FolderOf(std::wstring fullPath)
{
    const size_t name = fullPath.find_last_of(L'\\');
    if (name == std::wstring::npos || name + 1 == fullPath.size())
        return CString();
    fullPath.resize(name + 1);
    CString folder;
    return ExactAnsiFromWide(fullPath.c_str(), folder) ? folder : CString();
}

// The settings as the window program would find them, or the file named on
// the command line; what is wrong, in the user's words, when there is no
// whole set of patterns to run. `startDir` is the folder the window program
// would have started in to read them: relative directories of the patterns
// are taken from there, never from wherever the task happens to start.
// `settingsFile` is the file read, in full.
std::wstring LoadSettings(const ConsoleOptions& options, CPatternSet& set, CString& startDir, std::wstring& settingsFile)
{
    LoadOutcome outcome;
    std::wstring shown;
    if (options.settingsPath.empty()) {
        outcome = set.GetLoadOutcome();
        shown = settingsFile = WideFromAnsi(set.GetPath());
        // The settings file lies here, and its path is kept within MAX_PATH:
        // a longer folder holds no settings to take relative directories from.
        char dir[MAX_PATH + 1];
        if (platform::GetCurrentDir(dir, sizeof dir))
            startDir = dir;
        if (shown.empty())
            return L"カレントディレクトリのパスが長すぎるか、使えない文字が含まれているため、設定ファイルを読めません。";
    } else {
        shown = options.settingsPath;
        settingsFile = FullPathOf(options.settingsPath);
        CString path;
        if (!ExactAnsiFromWide(options.settingsPath.c_str(), path))
            return L"設定ファイルの名前に使えない文字が含まれています: " + shown;
        startDir = FolderOf(settingsFile);
        if (settingsFile.empty())
            settingsFile = shown;
        try {
            CFile file(path, CFile::modeRead);
            outcome = set.LoadFrom(file);
        } catch (const CFileException& e) {
            outcome = e.m_cause == CFileException::fileNotFound || e.m_cause == CFileException::badPath ? LoadOutcome::NoFile
                                                                                                        : LoadOutcome::Unreadable;
        }
    }
    switch (outcome) {
    case LoadOutcome::Whole:
        return std::wstring();
    case LoadOutcome::NoFile:
        return L"設定ファイルがありません: " + shown;
    case LoadOutcome::Unreadable:
        return L"設定ファイルを読み込めませんでした（開けないか、壊れています）: " + shown;
    case LoadOutcome::Partial:
        break;
    }
    return L"設定ファイルが壊れていて、最後まで読み込めませんでした: " + shown;
}

// Makes the pattern the options name current; what is wrong when there is none.
std::wstring PickPattern(const ConsoleOptions& options, CPatternSet& set)
{
    int index = 0;
    if (options.byName) {
        for (index = 0; index < set.GetCount(); ++index) {
            if (WideFromAnsi(set.GetName(index)) == options.patternName)
                break;
        }
        if (index == set.GetCount())
            return L"この名前の削除パターンはありません: " + options.patternName;
    } else if (options.number != 0) {
        index = options.number - 1;
        if (index >= set.GetCount()) {
            return L"削除パターン " + Number(options.number) + L" 番はありません（登録されている削除パターンは " +
                   Number(set.GetCount()) + L" 個です）。";
        }
    }
    // Only a set without a pattern has none to make current.
    return set.SetCurrent(index) ? std::wstring() : L"削除パターンが登録されていません。";
}

// The same file is open as `handle` and named by `path`.
bool IsSameFile(HANDLE handle, const std::wstring& path)
{
    CFileHandle other(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION a, b;
    return other.IsValid() && ::GetFileInformationByHandle(handle, &a) && ::GetFileInformationByHandle(other.Get(), &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// Now, in the units of a file's times.
std::uint64_t NowTicks()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

DateTime DateTimeOf(const SYSTEMTIME& t)
{
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// A file's time as the local time of that day, daylight saving included; empty for none.
std::wstring LocalTimeText(std::uint64_t ticks)
{
    const FILETIME utc = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal, local;
    if (ticks == 0 || !::FileTimeToSystemTime(&utc, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return std::wstring();
    return DateTimeText(DateTimeOf(local));
}

// The search's caller: results kept, progress shown, Ctrl+C heard.
class CConsoleSearch : public WalkCaller {
public:
    explicit CConsoleSearch(CConsoleOutput& out) : m_out(out) {}

    // Searches the current pattern, relative directories from `startDir`,
    // for the files `filter` takes; false when interrupted.
    bool Run(const CPatternSet& set, const CString& startDir, const FileFilter& filter)
    {
        m_search.Run(set, startDir, &filter);
        m_out.EndProgress();
        return !g_interrupted;
    }
    bool LimitReached() const { return m_search.LimitReached(); }
    long long LeftOut() const { return m_search.LeftOut(); }
    const std::vector<CFoundFile>& Results() const { return m_results; }

    void DirectoryEntered(const CString&) override
    {
        ++m_nFolders;
        ShowProgress();
    }
    int ResultCount() const override { return static_cast<int>(m_results.size()); }
    void FileFound(const CString&, const CFoundFile& file) override { m_results.push_back(file); }
    bool StopNow() override
    {
        ShowProgress();
        return g_interrupted;
    }

private:
    void ShowProgress()
    {
        if (m_out.ProgressDue())
            m_out.Progress(L"検索中: フォルダー " + Number(m_nFolders) + L"、ファイル " + Number(m_results.size()) + L" 個");
    }

    CConsoleOutput& m_out;
    CWinFileSystem m_fileSystem;
    CSearchRun m_search{m_fileSystem, *this};
    std::vector<CFoundFile> m_results;
    long long m_nFolders = 0;
};

}  // namespace

void InterruptConsoleCommand()
{
    g_interrupted = true;
}

namespace {

// What a summary says of the filters: how many files the masks took, and how
// many of them were left out.
void SayLeftOut(const FileFilter& filter, size_t results, long long leftOut, CConsoleOutput& out)
{
    if (filter.Any()) {
        out.Message(L"マスクに合ったファイル: " + Number(static_cast<long long>(results) + leftOut) + L" 個、うち条件で除外: " +
                    Number(leftOut) + L" 個");
    }
}

// Lists the results as text, one path a line, or as CSV for a spreadsheet.
void ListResults(const std::vector<CFoundFile>& results, ConsoleOptions::Format format, CConsoleOutput& out)
{
    if (format == ConsoleOptions::Format::Text) {
        for (const CFoundFile& result : results)
            out.Result(result.Shown());
        return;
    }
    // A spreadsheet takes a file as UTF-8 only after a byte-order mark; a
    // console shows none.
    if (!out.ResultsOnConsole())
        out.ResultsPreamble(L"\uFEFF");
    out.Result(L"パス,サイズ,更新日時");
    for (const CFoundFile& result : results) {
        out.Result(CsvField(result.Shown()) + L"," + std::to_wstring(result.Facts().size) + L"," +
                   LocalTimeText(result.Facts().written));
    }
}

std::uint64_t TotalSize(std::vector<CFoundFile>::const_iterator begin, std::vector<CFoundFile>::const_iterator end)
{
    std::uint64_t total = 0;
    for (auto it = begin; it != end; ++it)
        total += it->Facts().size;
    return total;
}

int Run(const ConsoleOptions& options, const std::wstring& commandLine, CConsoleOutput& out)
{
    // Ages are counted from here.
    FileFilter filter = options.filter;
    filter.now = NowTicks();
    // Nothing is read or searched unless the log can be kept; it gets
    // nothing until it is known not to be the settings file.
    if (!options.logPath.empty() && !out.OpenLog(options.logPath)) {
        out.Message(out.Log().IsLink() ? L"ログファイルにリンクは使えません: " + options.logPath
                                       : L"ログファイルを開けません（エラー " + Number(::GetLastError()) + L"）: " + options.logPath);
        return EXIT_USAGE;
    }
    // The set is read here and never written.
    auto set = std::make_unique<CPatternSet>();
    CString startDir;
    std::wstring settingsFile;
    std::wstring problem = LoadSettings(options, *set, startDir, settingsFile);
    if (problem.empty())
        problem = PickPattern(options, *set);
    if (out.Log().IsOpen()) {
        if (IsSameFile(out.Log().Handle(), settingsFile)) {
            out.Message(L"ログファイルに設定ファイルは指定できません: " + options.logPath);
            return EXIT_USAGE;
        }
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        const std::wstring header = L"==== " + DateTimeText(DateTimeOf(now)) + L" | コマンド: " + commandLine +
                                    L" | 設定ファイル: " + settingsFile + L" | 削除パターン: " +
                                    (problem.empty() ? WideFromAnsi(set->GetCurrentName()) : L"（なし）");
        if (!out.StartLog(header)) {
            out.Message(L"ログファイルに書き込めません: " + options.logPath);
            return EXIT_USAGE;
        }
    }
    if (!problem.empty()) {
        out.Message(problem);
        return EXIT_USAGE;
    }

    const bool deleting = options.command == ConsoleOptions::Command::Delete;
    const ULONGLONG start = ::GetTickCount64();
    out.Message(L"削除パターン「" + WideFromAnsi(set->GetCurrentName()) + L"」で検索します。");
    CConsoleSearch search(out);
    const bool searched = search.Run(*set, startDir, filter);
    const std::vector<CFoundFile>& results = search.Results();
    if (search.LimitReached())
        out.Message(L"ファイルが " + Number(MAX_RESULTS) + L" 個に達したので検索を打ち切りました。");

    if (!searched) {
        out.Message(L"中断しました。見つかったファイル: " + Number(results.size()) + L" 個。何も削除していません。");
        return EXIT_FAILED;
    }
    const std::uint64_t found = TotalSize(results.begin(), results.end());
    if (!deleting) {
        ListResults(results, options.format, out);
        out.FlushResults();
        out.Message(L"見つかったファイル: " + Number(results.size()) + L" 個（" + Seconds(::GetTickCount64() - start) + L" 秒）");
        SayLeftOut(filter, results.size(), search.LeftOut(), out);
        out.Message(L"合計サイズ: " + SizeWithBytes(found));
        return search.LimitReached() ? EXIT_LIMIT : EXIT_DONE;
    }

    if (!results.empty()) {
        out.Message(options.permanent
                        ? L"見つかったファイル " + Number(results.size()) + L" 個を完全に削除します（ごみ箱を使いません）。"
                        : L"見つかったファイル " + Number(results.size()) + L" 個をごみ箱へ移動します。");
    }
    // Each file is read again before its delete, and kept unless it still passes.
    CListedFileDeleter deleter(&filter);
    size_t handled = 0, deleted = 0;
    std::uint64_t deletedBytes = 0;
    for (; handled < results.size() && !g_interrupted; ++handled) {
        const CFoundFile& result = results[handled];
        const bool ok = options.permanent ? deleter.DeletePermanently(result) : deleter.MoveToRecycleBinUnattended(result);
        if (ok) {
            ++deleted;
            deletedBytes += result.Facts().size;
        }
        out.Result(result.Shown() + WideFromAnsi(DeletionMark(ok)));
        out.FlushResults();
        if (out.ProgressDue())
            out.Progress(L"削除中: " + Number(handled + 1) + L" / " + Number(results.size()) + L" 個");
    }
    // Lines not reached stay as they were listed, without a mark.
    for (size_t i = handled; i < results.size(); ++i)
        out.Result(results[i].Shown());
    out.FlushResults();

    const size_t failed = handled - deleted;
    out.Message(L"見つかったファイル: " + Number(results.size()) + L" 個、削除: " + Number(deleted) + L" 個、失敗: " +
                Number(failed) + L" 個（" + Seconds(::GetTickCount64() - start) + L" 秒）");
    SayLeftOut(filter, results.size(), search.LeftOut(), out);
    const std::uint64_t handledBytes = TotalSize(results.begin(), results.begin() + static_cast<std::ptrdiff_t>(handled));
    out.Message(L"サイズ: 見つかったファイル " + SizeWithBytes(found) + L"、削除 " + SizeWithBytes(deletedBytes) + L"、失敗 " +
                SizeWithBytes(handledBytes - deletedBytes));
    if (handled < results.size()) {
        out.Message(L"中断しました。残りの " + Number(results.size() - handled) + L" 個は削除していません。");
        return EXIT_FAILED;
    }
    if (failed != 0)
        return EXIT_FAILED;
    return search.LimitReached() ? EXIT_LIMIT : EXIT_DONE;
}

}  // namespace

int RunConsoleCommand(const ConsoleOptions& options, const std::wstring& commandLine)
{
    CConsoleOutput out;
    int code = EXIT_FAILED;
    try {
        code = Run(options, commandLine, out);
    } catch (...) {
        // Out of memory, most likely: said, never a crash.
        out.Message(L"予期しないエラーのため中止しました。");
    }
    if (out.Log().Failed()) {
        // The log is the record of an unattended run: one with lines missing is no success.
        out.Message(L"ログファイルに書き込めなかった行があります: " + options.logPath);
        if (code == EXIT_DONE)
            code = EXIT_FAILED;
    } else {
        out.LogOnly(L"終了コード: " + Number(code));
    }
    return code;
}
