// What the console program says of a cleanup as it runs: each file on the
// output stream as its folder is done (a path, a CSV row, or a path with its
// mark), each failure's reason, each folder that could not be read or was
// removed, then the summary on the error stream. It writes through a sink,
// so that the same lines are read natively in the tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "console/arguments.h"
#include "engine/cleanup_run.h"

// Exit codes: every file handled as asked; a delete or a removal failed, a
// folder could not be read, or the run was interrupted; nothing could be run;
// the ceiling the user set was reached.
enum ExitCode { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2, EXIT_LIMIT = 3 };

// The two streams the lines go to.
class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    // A line of the output stream, held until flushed or the buffer is large.
    virtual void Result(const std::wstring& line) = 0;
    // Writes the held lines of the output stream.
    virtual void FlushResults() = 0;
    // A line of the error stream, written at once after the output stream's.
    virtual void Message(const std::wstring& line) = 0;
    // The output stream is a console.
    virtual bool ResultsOnConsole() const = 0;
    // Text for the output stream alone, before its first line (a byte-order mark).
    virtual void ResultsPreamble(const std::wstring& text) = 0;
    // Whether a progress line would be drawn now, and the drawing of one.
    virtual bool ProgressDue() const = 0;
    virtual void Progress(const std::wstring& text) = 0;
    virtual void EndProgress() = 0;
};

struct ReportStyle {
    bool deleting = false;
    bool permanent = false;
    bool csv = false;
    // The local time of a file's time, for the CSV; empty for none.
    std::wstring (*localTime)(std::uint64_t ticks) = nullptr;
};

// The run the command line asks for over the current pattern of `set`:
// `filter` is the options' own with the time the run began, and must
// outlive the settings.
CleanupSettings CleanupSettingsOf(const ConsoleOptions& options, const CPatternSet& set, const FileFilter& filter);
// How the command line asks the run to be told, but for the local time.
ReportStyle ReportStyleOf(const ConsoleOptions& options);

class CCleanupReport : public CleanupReporter {
public:
    // `stop` is set (from any thread) to end the run after the current file.
    CCleanupReport(ConsoleSink& sink, const ReportStyle& style, const std::atomic<bool>& stop)
        : m_sink(sink), m_style(style), m_stop(stop)
    {}

    // What comes before the first file: a CSV's header.
    void Begin();
    // The summary of a run that took `ms` milliseconds.
    void Summary(const CleanupCounts& counts, const CleanupSettings& settings, std::uint64_t ms);

    void FolderEntered(const WalkPlace& place, const CleanupCounts& counts) override;
    void FileTaken(const CFoundFile& file, const DeleteOutcome* outcome) override;
    void FolderRemoved(const CFoundFile& folder, const DeleteOutcome& outcome) override;
    void FolderUnread(const std::wstring& shown, std::uint32_t error, bool partWay) override;
    void DirectoryExcluded(const std::wstring& shown) override;
    bool StopNow() override { return m_stop; }

private:
    ConsoleSink& m_sink;
    ReportStyle m_style;
    const std::atomic<bool>& m_stop;
    bool m_bAnnounced = false;
};

// The exit code of a run that ended with `counts`.
int ExitCodeOf(const CleanupCounts& counts);
