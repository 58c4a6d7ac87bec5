// The console program's two streams. On a console, text goes through the
// console's wide output, so every name is shown as the file system spells it;
// redirected to a file or a pipe, it is UTF-8 without a byte-order mark.
// Lines end in CRLF either way. Progress is one line on the error stream,
// redrawn in place, and only when that stream is a console.
#pragma once

#include <windows.h>

#include <string>

class COutputStream {
public:
    explicit COutputStream(DWORD stdHandle);
    COutputStream(const COutputStream&) = delete;
    COutputStream& operator=(const COutputStream&) = delete;
    ~COutputStream() { Flush(); }

    bool IsConsole() const { return m_bConsole; }
    // Adds `text` and a line end; held until the buffer is large or flushed.
    void Line(const std::wstring& text);
    // Writes what is held.
    void Flush();
    // Writes `text` at once, with no line end.
    void WriteRaw(const std::wstring& text);

private:
    HANDLE m_handle;
    bool m_bConsole;
    std::wstring m_pending;
};

class CConsoleOutput {
public:
    CConsoleOutput() : m_out(STD_OUTPUT_HANDLE), m_err(STD_ERROR_HANDLE) {}

    // A line of results on the output stream, a message on the error stream.
    void Result(const std::wstring& line);
    void Message(const std::wstring& line);
    // Flushes the output stream (a line that must not wait in the buffer).
    void FlushResults() { m_out.Flush(); }

    // Whether a progress line would be drawn now: the error stream is a
    // console and the last one is old enough (a few a second).
    bool ProgressDue() const;
    // Shows `text` as the progress line when it is due.
    void Progress(const std::wstring& text);
    // Takes the progress line away.
    void EndProgress();

private:
    COutputStream m_out;
    COutputStream m_err;
    size_t m_progressLength = 0;  // columns of the progress line shown
    ULONGLONG m_lastProgressMs = 0;
};
