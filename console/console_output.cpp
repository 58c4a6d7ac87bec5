#include "console/console_output.h"

#include "engine/paths.h"
#include "engine/win_handle_names.h"
#include "platform/win/handles.h"

namespace {

// What one console write takes at most, in UTF-16 units.
const size_t CONSOLE_CHUNK = 8192;
// Held output is written once it grows past this.
const size_t PENDING_LIMIT = 32768;
// The least time between two redraws of the progress line.
const ULONGLONG PROGRESS_INTERVAL_MS = 250;

// Columns a text takes on a console: two for a wide (East Asian) character.
size_t ColumnsOf(const std::wstring& text)
{
    size_t columns = 0;
    for (wchar_t c : text)
        columns += c >= 0x1100 ? 2 : 1;
    return columns;
}

// `text` in UTF-8; a lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
std::string Utf8Of(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

// The system reports the open file `file` at `path` itself: in the folder
// the path names, under the name it gives. A link that the system does not
// show as one (a host's link under Wine) is told by the name it leads to.
bool IsReportedAtPath(HANDLE file, const std::wstring& path)
{
    const std::wstring full = FullPathOf(path);
    const std::wstring folder = FolderOfFile(full);
    if (folder.empty())
        return false;
    CFileHandle dir(OpenFolder(VerbatimDirectory(folder), FILE_READ_ATTRIBUTES));
    if (!dir.IsValid())
        return false;
    const ReportedName folderName{FinalPathOfHandle(dir.Get()), PathOnVolumeOfHandle(dir.Get())};
    return IsReportedAt(ReportedNameOfHandle(file), folderName, full.substr(folder.size()));
}

}  // namespace

CLogFile::~CLogFile()
{
    if (IsOpen())
        ::CloseHandle(m_handle);
}

bool CLogFile::Open(const std::wstring& path)
{
    // Appending only: each write goes to the end as one piece, whoever else
    // appends. Others may read and append, but the log cannot be deleted
    // or renamed while a run writes it (not even by its own pattern).
    // A link is never followed, nor a second name of a file written: a run
    // under another account would append to whatever it leads to. A link
    // that leads nowhere is there to the system, but no file is.
    const bool existed = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    m_handle = ::CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    const bool created = IsOpen() && (!existed || ::GetLastError() != ERROR_ALREADY_EXISTS);
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsOpen())
        return false;
    if (!::GetFileInformationByHandle(m_handle, &info)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        ::SetLastError(error);
        return false;
    }
    m_bLink = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || info.nNumberOfLinks > 1 ||
              !IsReportedAtPath(m_handle, path);
    if (m_bLink) {
        // Nothing is ever left created through a link.
        const std::wstring createdAt = created ? FinalPathOfHandle(m_handle) : std::wstring();
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        if (!createdAt.empty())
            ::DeleteFileW(createdAt.c_str());
    }
    return IsOpen();
}

bool CLogFile::Write(const std::wstring& text)
{
    if (!IsOpen() || m_bFailed || text.empty())
        return !m_bFailed;
    const std::string utf8 = Utf8Of(text);
    DWORD written = 0;
    // One call, never a part of it retried: a second piece could land after another run's.
    if (!::WriteFile(m_handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) || written != utf8.size())
        m_bFailed = true;
    return !m_bFailed;
}

COutputStream::COutputStream(DWORD stdHandle) : m_handle(::GetStdHandle(stdHandle)), m_bConsole(false)
{
    DWORD mode;
    if (m_handle == INVALID_HANDLE_VALUE)
        m_handle = nullptr;
    m_bConsole = m_handle && ::GetFileType(m_handle) == FILE_TYPE_CHAR && ::GetConsoleMode(m_handle, &mode);
}

void COutputStream::Line(const std::wstring& text)
{
    m_pending += text;
    m_pending += L"\r\n";
    if (m_pending.size() >= PENDING_LIMIT)
        Flush();
}

void COutputStream::Flush()
{
    std::wstring text;
    text.swap(m_pending);
    WriteRaw(text);
    if (m_log)
        m_log->Write(text);
}

void COutputStream::WriteRaw(const std::wstring& text)
{
    // Without a stream (a task started with none) the text goes nowhere.
    if (!m_handle || text.empty())
        return;
    if (m_bConsole) {
        for (size_t at = 0; at < text.size();) {
            size_t n = text.size() - at < CONSOLE_CHUNK ? text.size() - at : CONSOLE_CHUNK;
            // A surrogate pair stays in one write.
            if (at + n < text.size() && IS_HIGH_SURROGATE(text[at + n - 1]))
                --n;
            DWORD written = 0;
            if (!::WriteConsoleW(m_handle, text.data() + at, static_cast<DWORD>(n), &written, nullptr) || written == 0)
                return;
            at += written;
        }
        return;
    }
    const std::string utf8 = Utf8Of(text);
    for (size_t at = 0; at < utf8.size();) {
        DWORD written = 0;
        if (!::WriteFile(m_handle, utf8.data() + at, static_cast<DWORD>(utf8.size() - at), &written, nullptr) || written == 0)
            return;
        at += written;
    }
}

bool CConsoleOutput::OpenLog(const std::wstring& path)
{
    return m_log.Open(path);
}

bool CConsoleOutput::LogIsAStream() const
{
    for (const COutputStream* stream : {&m_out, &m_err}) {
        HANDLE handle = stream->Handle();
        if (handle && ::GetFileType(handle) == FILE_TYPE_DISK && SameFile(handle, m_log.Handle()))
            return true;
    }
    return false;
}

bool CConsoleOutput::StartLog(const std::wstring& header)
{
    if (!m_log.Write(header + L"\r\n"))
        return false;
    m_out.CopyTo(&m_log);
    m_err.CopyTo(&m_log);
    m_bLogStarted = true;
    return true;
}

void CConsoleOutput::LogOnly(const std::wstring& line)
{
    if (m_bLogStarted)
        m_log.Write(line + L"\r\n");
}

void CConsoleOutput::Result(const std::wstring& line)
{
    // A result shown on the same console as the progress line replaces it.
    if (m_out.IsConsole())
        EndProgress();
    m_out.Line(line);
}

void CConsoleOutput::Message(const std::wstring& line)
{
    m_out.Flush();
    EndProgress();
    m_err.Line(line);
    m_err.Flush();
}

bool CConsoleOutput::ProgressDue() const
{
    return m_err.IsConsole() && (m_progressLength == 0 || ::GetTickCount64() - m_lastProgressMs >= PROGRESS_INTERVAL_MS);
}

void CConsoleOutput::Progress(const std::wstring& text)
{
    if (!ProgressDue())
        return;
    m_lastProgressMs = ::GetTickCount64();
    m_out.Flush();
    // Drawn over the last one; what is left of a longer one is blanked.
    std::wstring line = L"\r" + text;
    const size_t columns = ColumnsOf(text);
    if (columns < m_progressLength)
        line.append(m_progressLength - columns, L' ');
    m_err.WriteRaw(line);
    m_progressLength = columns;
}

void CConsoleOutput::EndProgress()
{
    if (m_progressLength == 0)
        return;
    m_err.WriteRaw(L"\r" + std::wstring(m_progressLength, L' ') + L"\r");
    m_progressLength = 0;
}
