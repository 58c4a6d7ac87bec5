#include "console/console_run.h"

#include <atomic>
#include <memory>
#include <vector>

#include "console/console_output.h"
#include "engine/search_run.h"
#include "engine/win_file_system.h"
#include "patterns/pattern_set.h"
#include "platform/file.h"
#include "platform/system.h"
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

// The folder of a file named by an absolute or relative path, or empty.
CString FolderOf(const std::wstring& path)
{
    wchar_t* name = nullptr;
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    if (n == 0 || ::GetFullPathNameW(path.c_str(), n, &full[0], &name) >= n || !name)
        return CString();
    full.resize(static_cast<size_t>(name - full.c_str()));
    CString folder;
    return ExactAnsiFromWide(full.c_str(), folder) ? folder : CString();
}

// The settings as the window program would find them, or the file named on
// the command line; false (after saying why) when there is no whole set of
// patterns to run. `startDir` is the folder the window program would have
// started in to read them: relative directories of the patterns are taken
// from there, never from wherever the task happens to start.
bool LoadSettings(const ConsoleOptions& options, CPatternSet& set, CString& startDir, CConsoleOutput& out)
{
    LoadOutcome outcome;
    std::wstring shown;
    if (options.settingsPath.empty()) {
        outcome = set.GetLoadOutcome();
        shown = WideFromAnsi(set.GetPath());
        // The settings file lies here, and its path is kept within MAX_PATH:
        // a longer folder holds no settings to take relative directories from.
        char dir[MAX_PATH + 1];
        if (platform::GetCurrentDir(dir, sizeof dir))
            startDir = dir;
        if (shown.empty()) {
            out.Message(L"カレントディレクトリのパスが長すぎるか、使えない文字が含まれているため、設定ファイルを読めません。");
            return false;
        }
    } else {
        shown = options.settingsPath;
        CString path;
        if (!ExactAnsiFromWide(options.settingsPath.c_str(), path)) {
            out.Message(L"設定ファイルの名前に使えない文字が含まれています: " + shown);
            return false;
        }
        startDir = FolderOf(options.settingsPath);
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
        return true;
    case LoadOutcome::NoFile:
        out.Message(L"設定ファイルがありません: " + shown);
        break;
    case LoadOutcome::Unreadable:
        out.Message(L"設定ファイルを読み込めませんでした（開けないか、壊れています）: " + shown);
        break;
    case LoadOutcome::Partial:
        out.Message(L"設定ファイルが壊れていて、最後まで読み込めませんでした: " + shown);
        break;
    }
    return false;
}

// Makes the pattern the options name current; false (after saying why) when
// there is none.
bool PickPattern(const ConsoleOptions& options, CPatternSet& set, CConsoleOutput& out)
{
    int index = 0;
    if (options.byName) {
        for (index = 0; index < set.GetCount(); ++index) {
            if (WideFromAnsi(set.GetName(index)) == options.patternName)
                break;
        }
        if (index == set.GetCount()) {
            out.Message(L"この名前の削除パターンはありません: " + options.patternName);
            return false;
        }
    } else if (options.number != 0) {
        index = options.number - 1;
        if (index >= set.GetCount()) {
            out.Message(L"削除パターン " + Number(options.number) + L" 番はありません（登録されている削除パターンは " +
                        Number(set.GetCount()) + L" 個です）。");
            return false;
        }
    }
    return set.SetCurrent(index);
}

// The search's caller: results kept, progress shown, Ctrl+C heard.
class CConsoleSearch : public WalkCaller {
public:
    explicit CConsoleSearch(CConsoleOutput& out) : m_out(out) {}

    // Searches the current pattern, relative directories from `startDir`;
    // false when interrupted.
    bool Run(const CPatternSet& set, const CString& startDir)
    {
        m_search.Run(set, startDir);
        m_out.EndProgress();
        return !g_interrupted;
    }
    bool LimitReached() const { return m_search.LimitReached(); }
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

int RunConsoleCommand(const ConsoleOptions& options)
{
    CConsoleOutput out;
    // The set is read here and never written.
    auto set = std::make_unique<CPatternSet>();
    CString startDir;
    if (!LoadSettings(options, *set, startDir, out) || !PickPattern(options, *set, out))
        return EXIT_USAGE;

    const bool deleting = options.command == ConsoleOptions::Command::Delete;
    const ULONGLONG start = ::GetTickCount64();
    out.Message(L"削除パターン「" + WideFromAnsi(set->GetCurrentName()) + L"」で検索します。");
    CConsoleSearch search(out);
    const bool searched = search.Run(*set, startDir);
    const std::vector<CFoundFile>& results = search.Results();
    if (search.LimitReached())
        out.Message(L"ファイルが " + Number(MAX_RESULTS) + L" 個に達したので検索を打ち切りました。");

    if (!searched) {
        out.Message(L"中断しました。見つかったファイル: " + Number(results.size()) + L" 個。何も削除していません。");
        return EXIT_FAILED;
    }
    if (!deleting) {
        for (const CFoundFile& result : results)
            out.Result(result.Shown());
        out.FlushResults();
        out.Message(L"見つかったファイル: " + Number(results.size()) + L" 個（" + Seconds(::GetTickCount64() - start) + L" 秒）");
        return search.LimitReached() ? EXIT_LIMIT : EXIT_DONE;
    }

    if (!results.empty()) {
        out.Message(options.permanent
                        ? L"見つかったファイル " + Number(results.size()) + L" 個を完全に削除します（ごみ箱を使いません）。"
                        : L"見つかったファイル " + Number(results.size()) + L" 個をごみ箱へ移動します。");
    }
    CListedFileDeleter deleter;
    size_t handled = 0, deleted = 0;
    for (; handled < results.size() && !g_interrupted; ++handled) {
        const CFoundFile& result = results[handled];
        const bool ok = options.permanent ? deleter.DeletePermanently(result) : deleter.MoveToRecycleBinUnattended(result);
        deleted += ok ? 1 : 0;
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
    if (handled < results.size()) {
        out.Message(L"中断しました。残りの " + Number(results.size() - handled) + L" 個は削除していません。");
        return EXIT_FAILED;
    }
    if (failed != 0)
        return EXIT_FAILED;
    return search.LimitReached() ? EXIT_LIMIT : EXIT_DONE;
}
