// A byte string in the system's ANSI code page (code page 932 on the target
// system). Lengths are byte counts. Case-aware operations go through mbcs.h.
#pragma once

#include <cstddef>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, int length) : m_s(text, static_cast<size_t>(length)) {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text)
    {
        m_s = text ? text : "";
        return *this;
    }

    // Numbers and wide characters are not text in this code page.
    CString(int) = delete;
    CString(char) = delete;
    CString(wchar_t) = delete;
    CString(const wchar_t*) = delete;
    CString& operator=(int) = delete;
    CString& operator=(char) = delete;
    CString& operator=(wchar_t) = delete;
    CString& operator=(const wchar_t*) = delete;

    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    unsigned char GetAt(int index) const { return static_cast<unsigned char>(m_s[static_cast<size_t>(index)]); }

    CString& operator+=(const char* text)
    {
        m_s += text ? text : "";
        return *this;
    }
    CString& operator+=(const CString& text)
    {
        m_s += text.m_s;
        return *this;
    }
    CString& operator+=(char) = delete;
    CString& operator+=(int) = delete;

    // Keeps the first `length` bytes (callers cut at character boundaries).
    void Truncate(int length)
    {
        if (length >= 0 && length < GetLength())
            m_s.resize(static_cast<size_t>(length));
    }
    CString Left(int length) const
    {
        return CString(m_s.c_str(), length < 0 ? 0 : (length > GetLength() ? GetLength() : length));
    }

    // Upper case in the ANSI code page, character by character.
    void MakeUpper();

    // Room for `minLength` bytes plus the terminator; ReleaseBuffer takes the
    // length up to the first zero byte (or the given length).
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend CString operator+(CString a, const CString& b)
    {
        a += b;
        return a;
    }
    friend CString operator+(CString a, const char* b)
    {
        a += b;
        return a;
    }
    friend CString operator+(const char* a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }

private:
    std::string m_s;
};
