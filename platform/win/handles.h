// Kernel handles that close themselves.
#pragma once

#include <windows.h>

// A handle from CreateFile (or any other closed by CloseHandle).
class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~CFileHandle() { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    // The handle for someone else to close.
    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }
    void Close()
    {
        if (IsValid())
            ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// A listing from FindFirstFile, closed by FindClose.
class CFindHandle {
public:
    explicit CFindHandle(HANDLE find = INVALID_HANDLE_VALUE) : m_find(find) {}
    ~CFindHandle()
    {
        if (IsValid())
            ::FindClose(m_find);
    }
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;

    HANDLE Get() const { return m_find; }
    bool IsValid() const { return m_find != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_find;
};
