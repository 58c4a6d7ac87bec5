#include "patterns/pattern_set.h"

#include <cstring>

#include "platform/system.h"

const char DEFAULT_PATTERN_NAME[] = "新しいパターン";
#ifdef _WIN32
const char SETTINGS_FILE_NAME[] = "\\Tidymoth.use";
#else
const char SETTINGS_FILE_NAME[] = "/Tidymoth.use";  // the portable build's own separator
#endif

void CDeletePattern::Init()
{
    m_strName = DEFAULT_PATTERN_NAME;
    // No slot at or past the high-water mark has held anything since the last
    // Init, so clearing those below it clears every slot.
    for (int i = 0; i < m_nSlotsUsed; ++i) {
        m_strMask[i].Empty();
        m_strDir[i].Empty();
        m_nMaskFlag[i] = 0;
        m_nDirFlag[i] = 0;
    }
    m_nMaskCount = 0;
    m_nDirCount = 0;
    m_nSlotsUsed = 0;
}

namespace {

// The two lists of a pattern share these steps over their parallel arrays:
// a string and its flag always move together.
bool AddEntry(CString* strings, int* flags, int& count, const CString& text, int flag)
{
    if (count >= MAX_ENTRIES)
        return false;
    strings[count] = text;
    flags[count] = flag;
    ++count;
    return true;
}

bool RemoveEntry(CString* strings, int* flags, int& count, int index)
{
    if (index < 0 || index >= count)
        return false;
    for (int j = index; j < count - 1; ++j) {
        strings[j] = strings[j + 1];
        flags[j] = flags[j + 1];
    }
    --count;
    return true;
}

void CopyEntries(CString* strings, int* flags, const CString* from, const int* fromFlags, int count)
{
    for (int i = 0; i < count; ++i) {
        strings[i] = from[i];
        flags[i] = fromFlags[i];
    }
}

}  // namespace

void CDeletePattern::NoteSlotsUsed(int count)
{
    if (count > m_nSlotsUsed)
        m_nSlotsUsed = count;
}

bool CDeletePattern::AddMask(const CString& mask, int flag)
{
    if (!AddEntry(m_strMask, m_nMaskFlag, m_nMaskCount, mask, flag))
        return false;
    NoteSlotsUsed(m_nMaskCount);
    return true;
}

bool CDeletePattern::AddDir(const CString& dir, int flag)
{
    if (!AddEntry(m_strDir, m_nDirFlag, m_nDirCount, dir, flag))
        return false;
    NoteSlotsUsed(m_nDirCount);
    return true;
}

bool CDeletePattern::RemoveMask(int index)
{
    return RemoveEntry(m_strMask, m_nMaskFlag, m_nMaskCount, index);
}

bool CDeletePattern::RemoveDir(int index)
{
    return RemoveEntry(m_strDir, m_nDirFlag, m_nDirCount, index);
}

bool CDeletePattern::SetDirFlag(int index, int flag)
{
    if (!IsDir(index))
        return false;
    m_nDirFlag[index] = flag;
    return true;
}

void CDeletePattern::TakeContentOf(const CDeletePattern& other)
{
    CopyEntries(m_strMask, m_nMaskFlag, other.m_strMask, other.m_nMaskFlag, other.m_nMaskCount);
    CopyEntries(m_strDir, m_nDirFlag, other.m_strDir, other.m_nDirFlag, other.m_nDirCount);
    m_strName = other.m_strName;
    m_nMaskCount = other.m_nMaskCount;
    m_nDirCount = other.m_nDirCount;
    NoteSlotsUsed(m_nMaskCount);
    NoteSlotsUsed(m_nDirCount);
}

CPatternSet::CPatternSet()
{
    // The path is fixed once, before anything can change the current directory.
    // One that would not fit the buffer stays empty: the set then neither
    // loads nor saves, rather than use a cut name that means another file.
    m_szPath[0] = '\0';
    char dir[SETTINGS_PATH_SIZE];
    if (platform::GetCurrentDir(dir, sizeof dir) && std::strlen(dir) + std::strlen(SETTINGS_FILE_NAME) < sizeof m_szPath) {
        std::strcpy(m_szPath, dir);
        std::strcat(m_szPath, SETTINGS_FILE_NAME);
    }
    m_nCount = 1;
    m_nCurrent = 0;
    m_loadOutcome = Load();
}

CPatternSet::CPatternSet(NoSettingsFile)
{
    m_szPath[0] = '\0';
    Clear();
}

void CPatternSet::InitAll()
{
    for (CDeletePattern& pattern : m_pattern)
        pattern.Init();
}

void CPatternSet::Clear()
{
    InitAll();
    m_nCount = 1;
    m_nCurrent = 0;
}

bool CPatternSet::NewPattern()
{
    if (m_nCount >= MAX_PATTERNS)
        return false;
    int i = m_nCount;
    ++m_nCount;
    m_nCurrent = i;
    m_pattern[i].Init();
    return true;
}

bool CPatternSet::DeletePattern(int index)
{
    if (!IsPattern(index) || m_nCount < 2)
        return false;
    int n = m_nCount;
    m_nCount = n - 1;
    for (int k = index; k < n - 1; ++k)
        m_pattern[k].TakeContentOf(m_pattern[k + 1]);
    // The caller picks the new current pattern; until it does, the current
    // index must still name a pattern.
    if (m_nCurrent >= m_nCount)
        m_nCurrent = m_nCount - 1;
    return true;
}

bool CPatternSet::SetCurrent(int index)
{
    if (!IsPattern(index))
        return false;
    m_nCurrent = index;
    return true;
}
