#include "platform/cstring.h"

#include <cstring>

#include "platform/mbcs.h"

void CString::MakeUpper()
{
    if (m_s.empty())
        return;
    MbsUpper(&m_s[0]);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_s.resize(static_cast<size_t>(minLength));
    return &m_s[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_s.c_str()));
    m_s.resize(static_cast<size_t>(newLength));
}
