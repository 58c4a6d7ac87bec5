// The console program's two streams. On a console, text goes through the
// console's wide output, so every name is shown as the file system spells it;
// redirected to a file or a pipe, it is UTF-8 without a byte-order mark.
// Lines end in CRLF either way. Progress is one line on the error stream,
// redrawn in place, and only when that stream is a console. A log, where
// one is kept, gets every line of both streams too, as they are written.
#pragma once

#include <windows.h>

#include <string>

#include "console/cleanup_report.h"

// A log file, appended to in UTF-8 without a byte-order mark. Each write is
// one append of whole lines, so runs that share the log never cut into each
// other's lines.
class CLogFile {
public:
    CLogFile() = default;
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;
    ~CLogFile();

    // Opens `path` for appending, creating it; false (GetLastError() says
    // why) when it cannot be, or when it is a link (IsLink()): a file that
    // is a reparse point, has a second name, or that the system reports at
    // another path than the one given. A file created through a link is
    // removed again.
    bool Open(const std::wstring& path);
    bool IsLink() const { return m_bLink; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return m_handle; }
    // Appends `text`; false, and Failed() from then on, when it was not written whole.
    bool Write(const std::wstring& text);
    bool Failed() const { return m_bFailed; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_bFailed = false;
    bool m_bLink = false;
};

class COutputStream {
public:
    explicit COutputStream(DWORD stdHandle);
    COutputStream(const COutputStream&) = delete;
    COutputStream& operator=(const COutputStream&) = delete;
    ~COutputStream() { Flush(); }

    bool IsConsole() const { return m_bConsole; }
    // The stream's handle; none for a task started with none.
    HANDLE Handle() const { return m_handle; }
    // Adds `text` and a line end; held until the buffer is large or flushed.
    void Line(const std::wstring& text);
    // Writes what is held.
    void Flush();
    // Writes `text` at once, with no line end, and not to the log.
    void WriteRaw(const std::wstring& text);
    // Lines are written to `log` as well from now on.
    void CopyTo(CLogFile* log) { m_log = log; }

private:
    HANDLE m_handle;
    bool m_bConsole;
    std::wstring m_pending;
    CLogFile* m_log = nullptr;
};

class CConsoleOutput : public ConsoleSink {
public:
    CConsoleOutput() : m_out(STD_OUTPUT_HANDLE), m_err(STD_ERROR_HANDLE) {}

    // A line of results on the output stream, a message on the error stream.
    void Result(const std::wstring& line) override;
    void Message(const std::wstring& line) override;
    // Flushes the output stream (a line that must not wait in the buffer).
    void FlushResults() override { m_out.Flush(); }
    bool ResultsOnConsole() const override { return m_out.IsConsole(); }
    void ResultsPreamble(const std::wstring& text) override { m_out.WriteRaw(text); }

    // Opens a log at `path`, which gets nothing yet; false (GetLastError()
    // says why) when it cannot be opened.
    bool OpenLog(const std::wstring& path);
    // Starts the log that was opened with `header`, and copies every line of
    // both streams into it from now on; false when it could not be written.
    bool StartLog(const std::wstring& header);
    // A line for the log alone, once it is started (the exit code).
    void LogOnly(const std::wstring& line);
    const CLogFile& Log() const { return m_log; }

    // The log that was opened is the file one of the two streams writes to.
    bool LogIsAStream() const;

    // Whether a progress line would be drawn now: the error stream is a
    // console and the last one is old enough (a few a second).
    bool ProgressDue() const override;
    // Shows `text` as the progress line when it is due.
    void Progress(const std::wstring& text) override;
    // Takes the progress line away.
    void EndProgress() override;

private:
    CLogFile m_log;
    bool m_bLogStarted = false;
    COutputStream m_out;
    COutputStream m_err;
    size_t m_progressLength = 0;  // columns of the progress line shown
    ULONGLONG m_lastProgressMs = 0;
};
