#include "platform/file.h"

#include <windows.h>

namespace {

HANDLE H(intptr_t h)
{
    return reinterpret_cast<HANDLE>(h);
}

int CauseOf(long error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return CFileException::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return CFileException::badPath;
    case ERROR_ACCESS_DENIED:
        return CFileException::accessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return CFileException::sharingViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return CFileException::diskFull;
    case ERROR_HANDLE_EOF:
        return CFileException::endOfFile;
    default:
        return CFileException::generic;
    }
}

}  // namespace

CFileException CFile::ErrorFor(long osError, const char* path)
{
    return CFileException(CauseOf(osError), osError, path);
}

void ThrowLastFileError(const char* path)
{
    throw CFile::ErrorFor(static_cast<long>(GetLastError()), path);
}

CString CFileException::GetErrorMessage() const
{
    CString text = m_strFileName;
    char* message = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(m_lOsError), 0, reinterpret_cast<char*>(&message), 0, nullptr);
    text += "\n";
    if (n != 0 && message) {
        while (n > 0 && (message[n - 1] == '\r' || message[n - 1] == '\n'))
            message[--n] = '\0';
        text += message;
    } else {
        char code[32];
        wsprintfA(code, "error %ld", m_lOsError);
        text += code;
    }
    if (message)
        LocalFree(message);
    return text;
}

CFile::CFile(const char* path, unsigned flags) : m_strPath(path)
{
    const bool write = (flags & modeWrite) != 0;
    HANDLE h = CreateFileA(path, write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                           (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        ThrowLastFileError(path);
    m_hFile = reinterpret_cast<intptr_t>(h);
}

CFile::~CFile()
{
    if (m_hFile != -1)
        CloseHandle(H(m_hFile));
}

void CFile::Throw() const
{
    ThrowLastFileError(m_strPath);
}

unsigned CFile::Read(void* buffer, unsigned count)
{
    DWORD got = 0;
    if (!ReadFile(H(m_hFile), buffer, count, &got, nullptr))
        Throw();
    return got;
}

void CFile::Write(const void* buffer, unsigned count)
{
    DWORD written = 0;
    if (!WriteFile(H(m_hFile), buffer, count, &written, nullptr))
        Throw();
    if (written != count) {
        SetLastError(ERROR_DISK_FULL);
        Throw();
    }
}

void CFile::Flush()
{
    if (!FlushFileBuffers(H(m_hFile)))
        Throw();
}

std::uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(H(m_hFile), &size))
        Throw();
    return static_cast<std::uint64_t>(size.QuadPart);
}

void CFile::Close()
{
    if (m_hFile == -1)
        return;
    HANDLE h = H(m_hFile);
    m_hFile = -1;
    if (!CloseHandle(h))
        Throw();
}
