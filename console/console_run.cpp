#include "console/console_run.h"

#include <atomic>
#include <memory>
#include <vector>

#include "console/console_output.h"
#include "console/report_text.h"
#include "engine/cleanup_run.h"
#include "engine/paths.h"
#include "engine/win_deleter.h"
#include "engine/win_file_system.h"
#include "engine/win_handle_names.h"
#include "patterns/pattern_set.h"
#include "platform/file.h"
#include "platform/win/handles.h"
#include "platform/win/wide_text.h"

namespace {

std::atomic<bool> g_interrupted{false};

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
    if (ticks == 0 || !::FileTimeToSystemTime(&utc, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return std::wstring();
    return DateTimeText(DateTimeOf(local));
}

// The settings a run reads, and where relative directories are taken from.
struct Settings {
    std::unique_ptr<CPatternSet> set;
    CString startDir;   // the folder the window program would have started in to read them
    std::wstring file;  // the settings file read, in full
};

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
            return L"この名前の削除パターンはありません: " + Quoted(options.patternName);
    } else if (options.number != 0) {
        index = options.number - 1;
        if (index >= set.GetCount()) {
            return L"削除パターン " + std::to_wstring(options.number) + L" 番はありません（登録されている削除パターンは " +
                   std::to_wstring(set.GetCount()) + L" 個です）。";
        }
    }
    // Only a set without a pattern has none to make current.
    return set.SetCurrent(index) ? std::wstring() : L"削除パターンが登録されていません。";
}

// The settings as the window program would find them, or the file named on
// the command line, with the pattern the options name made current; what is
// wrong, in the user's words, when there is no whole set of patterns or no
// such pattern. Relative directories of the patterns are taken from the
// settings file's folder, never from wherever the task happens to start.
std::wstring ReadSettings(const ConsoleOptions& options, Settings& settings)
{
    LoadOutcome outcome;
    std::wstring shown;
    if (options.settingsPath.empty()) {
        settings.set = std::make_unique<CPatternSet>();
        outcome = settings.set->GetLoadOutcome();
        shown = settings.file = WideFromAnsi(settings.set->GetPath());
        settings.startDir = StartUpDirectory();
        if (shown.empty())
            return L"カレントディレクトリのパスが長すぎるか、使えない文字が含まれているため、設定ファイルを読めません。";
    } else {
        // No settings file of the current folder is read first.
        settings.set = std::make_unique<CPatternSet>(CPatternSet::NoSettingsFile());
        shown = options.settingsPath;
        settings.file = FullPathOf(options.settingsPath);
        CString path;
        if (!ExactAnsiFromWide(options.settingsPath.c_str(), path))
            return L"設定ファイルの名前に使えない文字が含まれています: " + Quoted(shown);
        if (!ExactAnsiFromWide(FolderOfFile(settings.file).c_str(), settings.startDir))
            settings.startDir = CString();
        if (settings.file.empty())
            settings.file = shown;
        try {
            CFile file(path, CFile::modeRead);
            outcome = settings.set->LoadFrom(file);
        } catch (const CFileException& e) {
            outcome = e.m_cause == CFileException::fileNotFound || e.m_cause == CFileException::badPath ? LoadOutcome::NoFile
                                                                                                        : LoadOutcome::Unreadable;
        }
    }
    switch (outcome) {
    case LoadOutcome::Whole:
        return PickPattern(options, *settings.set);
    case LoadOutcome::NoFile:
        return L"設定ファイルがありません: " + Quoted(shown);
    case LoadOutcome::Unreadable:
        return L"設定ファイルを読み込めませんでした（開けないか、壊れています）: " + Quoted(shown);
    case LoadOutcome::Partial:
        break;
    }
    return L"設定ファイルが壊れていて、最後まで読み込めませんでした: " + Quoted(shown);
}

// Opens the log the options name, if any: nothing is read or searched unless
// it can be kept. The exit code of a refusal, or EXIT_DONE.
int OpenLog(const ConsoleOptions& options, CConsoleOutput& out)
{
    if (options.logPath.empty())
        return EXIT_DONE;
    const std::wstring log = Quoted(options.logPath);
    if (!out.OpenLog(options.logPath)) {
        out.Message(out.Log().IsLink()
                        ? L"ログファイルにリンクは使えません: " + log
                        : L"ログファイルを開けません（エラー " + std::to_wstring(::GetLastError()) + L"）: " + log);
        return EXIT_USAGE;
    }
    // Its lines would be written into each other's.
    if (out.LogIsAStream()) {
        out.Message(L"ログファイルに出力先と同じファイルは指定できません: " + log);
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

// Starts the log, which gets nothing until it is known not to be the
// settings file, with its header. The exit code of a refusal, or EXIT_DONE.
int StartLog(const ConsoleOptions& options, const std::wstring& commandLine, const Settings& settings,
             const std::wstring& problem, CConsoleOutput& out)
{
    if (!out.Log().IsOpen())
        return EXIT_DONE;
    CFileHandle settingsFile(::CreateFileW(settings.file.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (settingsFile.IsValid() && SameFile(settingsFile.Get(), out.Log().Handle())) {
        out.Message(L"ログファイルに設定ファイルは指定できません: " + Quoted(options.logPath));
        return EXIT_USAGE;
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::wstring pattern = problem.empty() ? WideFromAnsi(settings.set->GetCurrentName()) : L"（なし）";
    const std::wstring header = L"==== " + DateTimeText(DateTimeOf(now)) + L" | コマンド: " + EscapedName(commandLine) +
                                L" | 設定ファイル: " + EscapedName(settings.file) + L" | 削除パターン: " + EscapedName(pattern);
    if (!out.StartLog(header)) {
        out.Message(L"ログファイルに書き込めません: " + Quoted(options.logPath));
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

// What the run does to the files and folders it takes: the checked deletes.
class CConsoleActions : public CleanupActions {
public:
    // `filter` must outlive the actions.
    CConsoleActions(const FileFilter& filter, bool permanent) : m_deleter(&filter), m_bPermanent(permanent) {}
    DeleteOutcome DeleteListedFile(const CFoundFile& file) override
    {
        return m_bPermanent ? m_deleter.DeletePermanently(file) : m_deleter.MoveToRecycleBinUnattended(file);
    }
    DeleteOutcome RemoveEmptiedFolder(const CFoundFile& folder) override { return m_deleter.RemoveEmptiedFolder(folder); }

private:
    CListedFileDeleter m_deleter;
    bool m_bPermanent;
};

// Lists or deletes by the current pattern of `set`, folder by folder, and
// says how it went; returns the exit code.
int RunCleanup(const ConsoleOptions& options, const CPatternSet& set, const CString& startDir, CConsoleOutput& out)
{
    const bool deleting = options.command == ConsoleOptions::Command::Delete;
    // Ages are counted from here.
    FileFilter filter = options.filter;
    filter.now = NowTicks();
    const CleanupSettings settings = CleanupSettingsOf(options, set, filter);
    const std::vector<StoredDirectory> dirs = StoredDirectories(set, startDir);
    CWinFileSystem fileSystem;

    // One slip in the pattern must not become a nightly wipe.
    std::wstring wipedDir, wipingMask;
    if (deleting && !options.allowVolumeRoot && FindVolumeWipe(fileSystem, dirs, settings.masks, wipedDir, wipingMask)) {
        out.Message(L"ボリューム全体を空にするため削除しません: 探索するディレクトリ " + Quoted(wipedDir) +
                    L"（サブフォルダーも探索）とマスク " + Quoted(wipingMask) +
                    L"。このまま削除するときは --allow-volume-root を指定してください。");
        return EXIT_USAGE;
    }

    out.Message(L"削除パターン" + Quoted(WideFromAnsi(set.GetCurrentName())) + L"で検索します。");
    CConsoleActions actions(filter, options.permanent);
    ReportStyle style = ReportStyleOf(options);
    style.localTime = LocalTimeText;
    CCleanupReport report(out, style, g_interrupted);
    CCleanupRun run(fileSystem, deleting ? &actions : nullptr, report);
    const ULONGLONG start = ::GetTickCount64();
    report.Begin();
    run.Run(dirs, settings);
    report.Summary(run.Counts(), settings, ::GetTickCount64() - start);
    return ExitCodeOf(run.Counts());
}

// The log opened, the settings read and the pattern picked, the run, the summary.
int Run(const ConsoleOptions& options, const std::wstring& commandLine, CConsoleOutput& out)
{
    if (const int refused = OpenLog(options, out))
        return refused;
    Settings settings;
    const std::wstring problem = ReadSettings(options, settings);
    if (const int refused = StartLog(options, commandLine, settings, problem, out))
        return refused;
    if (!problem.empty()) {
        out.Message(problem);
        return EXIT_USAGE;
    }
    return RunCleanup(options, *settings.set, settings.startDir, out);
}

}  // namespace

void InterruptConsoleCommand()
{
    g_interrupted = true;
}

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
        out.Message(L"ログファイルに書き込めなかった行があります: " + Quoted(options.logPath));
        if (code == EXIT_DONE || code == EXIT_LIMIT)
            code = EXIT_FAILED;
    } else {
        out.LogOnly(L"終了コード: " + std::to_wstring(code));
    }
    return code;
}
