// Device contexts and selected objects that give themselves back, and the
// fonts and icons the program makes, which delete themselves.
#pragma once

#include <windows.h>

// A window's device context, released when the object goes.
class CWindowDC {
public:
    explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CWindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// An object selected into a device context until this goes; then the one
// that was selected before is again.
class CSelectedObject {
public:
    CSelectedObject(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hOld(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectedObject()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A font or an icon the program made: deleted when the holder goes, or when
// it takes another.
template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class COwnedGdi {
public:
    COwnedGdi() = default;
    ~COwnedGdi() { Reset(); }
    COwnedGdi(const COwnedGdi&) = delete;
    COwnedGdi& operator=(const COwnedGdi&) = delete;
    Handle Get() const { return m_handle; }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            Release(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

inline BOOL WINAPI ReleaseFont(HFONT font)
{
    return ::DeleteObject(font);
}
using COwnedFont = COwnedGdi<HFONT, ReleaseFont>;
using COwnedIcon = COwnedGdi<HICON, ::DestroyIcon>;
