// Binary files on disk with exact byte counts. Every failure raises
// CFileException carrying the path and the system's error code.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

class CFileException {
public:
    enum Cause { none = 0, generic, fileNotFound, badPath, accessDenied, sharingViolation, diskFull, endOfFile };

    CFileException(int cause, long osError, const char* fileName) : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {}

    // "path" followed by the system's description of the error.
    CString GetErrorMessage() const;

    int m_cause;
    long m_lOsError;  // GetLastError() on Windows, errno elsewhere
    CString m_strFileName;
};

// Its operations are virtual so that the fuzzer can load and save settings
// through a file held in memory instead.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile() = default;
    // modeRead opens an existing file from its start; modeCreate | modeWrite
    // creates the file or empties an existing one.
    CFile(const char* path, unsigned flags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Reads up to `count` bytes; returns how many arrived (0 at the end).
    virtual unsigned Read(void* buffer, unsigned count);
    // Writes all `count` bytes or throws.
    virtual void Write(const void* buffer, unsigned count);
    // Commits written data to the disk.
    virtual void Flush();
    virtual std::uint64_t GetLength() const;
    // Closes the file, reporting a failure to do so.
    virtual void Close();

    static CFileException ErrorFor(long osError, const char* path);

private:
    void Throw() const;

    intptr_t m_hFile = -1;  // INVALID_HANDLE_VALUE / no descriptor
    CString m_strPath;
};

// Raises the exception for the system's last error and `path`.
[[noreturn]] void ThrowLastFileError(const char* path);
