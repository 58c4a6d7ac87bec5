#include "console/cleanup_report.h"

#include "console/report_text.h"

namespace {

std::wstring Number(std::uint64_t n)
{
    return std::to_wstring(n);
}

std::wstring Seconds(std::uint64_t ms)
{
    return std::to_wstring(ms / 1000) + L"." + std::to_wstring(ms % 1000 / 100);
}

}  // namespace

CleanupSettings CleanupSettingsOf(const ConsoleOptions& options, const CPatternSet& set, const FileFilter& filter)
{
    CleanupSettings settings;
    settings.masks = SearchedMasks(set);
    settings.filter = &filter;
    settings.exclusions = CExclusions(options.excludeFiles, options.excludeFolders);
    settings.maxFiles = options.maxFiles;
    settings.removeEmptyFolders = options.removeEmptyFolders;
    return settings;
}

ReportStyle ReportStyleOf(const ConsoleOptions& options)
{
    ReportStyle style;
    style.deleting = options.command == ConsoleOptions::Command::Delete;
    style.permanent = options.permanent;
    style.csv = options.format == ConsoleOptions::Format::Csv;
    return style;
}

void CCleanupReport::Begin()
{
    if (!m_style.csv)
        return;
    // A spreadsheet takes a file as UTF-8 only after a byte-order mark; a
    // console shows none.
    if (!m_sink.ResultsOnConsole())
        m_sink.ResultsPreamble(L"\uFEFF");
    m_sink.Result(L"パス,サイズ,更新日時");
}

void CCleanupReport::FolderEntered(const WalkPlace&, const CleanupCounts& counts)
{
    // The lines of the folders done so far are written before another is read.
    m_sink.FlushResults();
    if (!m_sink.ProgressDue())
        return;
    std::wstring text = L"フォルダー " + Number(counts.folders) + L" 個、ファイル " + Number(counts.taken) + L" 個";
    if (m_style.deleting)
        text += L"、削除 " + Number(counts.deleted) + L" 個";
    m_sink.Progress((m_style.deleting ? L"削除中: " : L"検索中: ") + text);
}

void CCleanupReport::FileTaken(const CFoundFile& file, const DeleteOutcome* outcome)
{
    const std::wstring shown = file.Shown();
    if (!outcome) {
        if (m_style.csv) {
            const std::wstring time = m_style.localTime ? m_style.localTime(file.Facts().written) : std::wstring();
            m_sink.Result(CsvField(shown) + L"," + std::to_wstring(file.Facts().size) + L"," + time);
        } else {
            m_sink.Result(EscapedName(shown));
        }
        return;
    }
    // Said once, before the first file it concerns.
    if (!m_bAnnounced) {
        m_bAnnounced = true;
        m_sink.Message(m_style.permanent ? L"見つかったファイルを完全に削除します（ごみ箱を使いません）。"
                                         : L"見つかったファイルをごみ箱へ移動します。");
    }
    // Each line as its file is done, so a run that is killed leaves what it did.
    m_sink.Result(EscapedName(shown) + DeletionMark(outcome->Deleted()));
    m_sink.FlushResults();
    if (!outcome->Deleted())
        m_sink.Message(L"削除できませんでした（" + FaultText(*outcome) + L"）: " + Quoted(shown));
}

void CCleanupReport::FolderRemoved(const CFoundFile& folder, const DeleteOutcome& outcome)
{
    const std::wstring shown = folder.Shown() + L"\\";
    m_sink.Result(EscapedName(shown) + DeletionMark(outcome.Deleted()));
    m_sink.FlushResults();
    if (!outcome.Deleted())
        m_sink.Message(L"空になったフォルダーを削除できませんでした（" + FaultText(outcome) + L"）: " + Quoted(shown));
}

void CCleanupReport::FolderUnread(const std::wstring& shown, std::uint32_t error, bool partWay)
{
    if (shown.empty()) {
        m_sink.Message(L"探索するディレクトリに空欄があります。");
        return;
    }
    m_sink.Message((partWay ? L"フォルダーを最後まで読めませんでした（" : L"フォルダーを読めません（") + ErrorText(error) +
                   L"）: " + Quoted(shown));
}

void CCleanupReport::DirectoryExcluded(const std::wstring& shown)
{
    m_sink.Message(L"除外するフォルダーなので探索しません: " + Quoted(shown));
}

void CCleanupReport::Summary(const CleanupCounts& counts, const CleanupSettings& settings, std::uint64_t ms)
{
    m_sink.FlushResults();
    m_sink.EndProgress();
    if (counts.ceilingReached)
        m_sink.Message(L"ファイルが --max-files の " + Number(settings.maxFiles) + L" 個に達したので打ち切りました。");
    if (counts.stopped)
        m_sink.Message(L"中断しました。ここから先は検索も削除もしていません。");
    const std::wstring time = L"（" + Seconds(ms) + L" 秒）";
    if (m_style.deleting) {
        m_sink.Message(L"見つかったファイル: " + Number(counts.taken) + L" 個、削除: " + Number(counts.deleted) + L" 個、失敗: " +
                       Number(counts.failed) + L" 個" + time);
    } else {
        m_sink.Message(L"見つかったファイル: " + Number(counts.taken) + L" 個" + time);
    }
    if (settings.filter && settings.filter->Any()) {
        m_sink.Message(L"マスクに合ったファイル: " + Number(counts.taken + counts.leftOut) + L" 個、うち条件で除外: " +
                       Number(counts.leftOut) + L" 個");
    }
    if (settings.exclusions.Any()) {
        m_sink.Message(L"除外したファイル: " + Number(counts.excludedFiles) + L" 個、除外したフォルダー: " +
                       Number(counts.excludedFolders) + L" 個");
    }
    if (settings.removeEmptyFolders) {
        m_sink.Message(L"空になったフォルダー: 削除 " + Number(counts.foldersRemoved) + L" 個、失敗 " +
                       Number(counts.foldersKept) + L" 個");
    }
    if (counts.unreadFolders != 0)
        m_sink.Message(L"読めなかったフォルダー: " + Number(counts.unreadFolders) + L" 個");
    if (m_style.deleting) {
        m_sink.Message(L"サイズ: 見つかったファイル " + SizeWithBytes(counts.takenBytes) + L"、削除 " +
                       SizeWithBytes(counts.deletedBytes) + L"、失敗 " + SizeWithBytes(counts.takenBytes - counts.deletedBytes));
    } else {
        m_sink.Message(L"合計サイズ: " + SizeWithBytes(counts.takenBytes));
    }
}

int ExitCodeOf(const CleanupCounts& counts)
{
    if (counts.stopped || counts.failed != 0 || counts.foldersKept != 0 || counts.unreadFolders != 0)
        return EXIT_FAILED;
    return counts.ceilingReached ? EXIT_LIMIT : EXIT_DONE;
}
