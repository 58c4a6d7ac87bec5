#include "tests/support/mem_file.h"

#include <cstring>

#include "platform/system.h"

unsigned CMemFile::Read(void* buffer, unsigned count)
{
    const std::size_t left = m_nSize - m_nPos;
    const unsigned n = left < count ? static_cast<unsigned>(left) : count;
    if (n)
        std::memcpy(buffer, GetData() + m_nPos, n);
    m_nPos += n;
    return n;
}

void CMemFile::Write(const void* buffer, unsigned count)
{
    if (m_pFixed)
        throw CFileException(CFileException::accessDenied, platform::AccessDeniedError(), "");
    const std::size_t end = m_nSize + count;
    if (end > m_owned.size()) {
        // Doubling, from a size that holds a usual settings file at once.
        std::size_t grown = m_owned.empty() ? 1024 : 2 * m_owned.size();
        m_owned.resize(grown > end ? grown : end);
    }
    if (count)
        std::memcpy(m_owned.data() + m_nSize, buffer, count);
    m_nSize = end;
}
