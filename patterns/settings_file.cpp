// The settings file: little-endian int32 counts and flags and length-prefixed
// byte strings, no header. The reader trusts nothing it finds in the file.
#include <cstdint>
#include <cstdio>

#include "patterns/pattern_set.h"
#include "platform/file.h"
#include "platform/system.h"

namespace {

// Longer than any path or name the program can hold; a longer string means
// a damaged file, not text to allocate.
const std::int32_t MAX_STRING_BYTES = 65536;

class Reader {
public:
    explicit Reader(CFile& file) : m_file(file), m_left(file.GetLength()) {}

    bool ReadInt(std::int32_t& value)
    {
        unsigned char b[4];
        if (m_left < 4 || m_file.Read(b, 4) != 4)
            return false;
        m_left -= 4;
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                          static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }

    // All L bytes are consumed; a zero byte inside them ends the value.
    bool ReadString(CString& value)
    {
        std::int32_t length;
        if (!ReadInt(length) || length < 0 || length > MAX_STRING_BYTES || static_cast<std::uint64_t>(length) > m_left)
            return false;
        char* buffer = value.GetBuffer(length);
        unsigned got = length ? m_file.Read(buffer, static_cast<unsigned>(length)) : 0;
        buffer[length] = '\0';
        value.ReleaseBuffer();
        if (got != static_cast<unsigned>(length))
            return false;
        m_left -= static_cast<std::uint64_t>(length);
        return true;
    }

    bool ReadCount(std::int32_t& count) { return ReadInt(count) && count >= 0 && count <= MAX_ENTRIES; }

private:
    CFile& m_file;
    std::uint64_t m_left;
};

void WriteInt(CFile& file, std::int32_t value)
{
    std::uint32_t v = static_cast<std::uint32_t>(value);
    unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
                          static_cast<unsigned char>(v >> 24)};
    file.Write(b, 4);
}

void WriteString(CFile& file, const CString& text)
{
    WriteInt(file, text.GetLength());
    if (!text.IsEmpty())
        file.Write(text.GetString(), static_cast<unsigned>(text.GetLength()));
}

// The mask list and the directory list of a record share one layout: a
// count, then each string with its flag.
struct EntryList {
    int (CDeletePattern::*count)() const;
    CString (CDeletePattern::*text)(int) const;
    int (CDeletePattern::*flag)(int) const;
    bool (CDeletePattern::*add)(const CString&, int);
};
const EntryList kMasks = {&CDeletePattern::GetMaskCount, &CDeletePattern::GetMask, &CDeletePattern::GetMaskFlag,
                          &CDeletePattern::AddMask};
const EntryList kDirs = {&CDeletePattern::GetDirCount, &CDeletePattern::GetDir, &CDeletePattern::GetDirFlag,
                         &CDeletePattern::AddDir};

bool ReadEntries(Reader& in, CDeletePattern& pattern, const EntryList& list)
{
    CString text;
    std::int32_t count, flag;
    if (!in.ReadCount(count))
        return false;
    for (std::int32_t j = 0; j < count; ++j) {
        if (!in.ReadString(text) || !in.ReadInt(flag))
            return false;
        (pattern.*list.add)(text, flag);
    }
    return true;
}

void WriteEntries(CFile& file, const CDeletePattern& pattern, const EntryList& list)
{
    const int count = (pattern.*list.count)();
    WriteInt(file, count);
    for (int j = 0; j < count; ++j) {
        WriteString(file, (pattern.*list.text)(j));
        WriteInt(file, (pattern.*list.flag)(j));
    }
}

bool ReadPatternRecord(Reader& in, CDeletePattern& pattern)
{
    CString name;
    if (!in.ReadString(name))
        return false;
    pattern.SetName(name);
    return ReadEntries(in, pattern, kMasks) && ReadEntries(in, pattern, kDirs);
}

}  // namespace

LoadOutcome CPatternSet::Load()
{
    Clear();
    if (m_szPath[0] == '\0')
        return LoadOutcome::Unreadable;

    // The probe: no file, no message. A file that exists but cannot be opened
    // is reported, so that a later save does not silently replace it.
    if (FILE* probe = std::fopen(m_szPath, "rb")) {
        std::fclose(probe);
    } else {
        bool readOnly;
        return platform::GetFileReadOnly(m_szPath, &readOnly) ? LoadOutcome::Unreadable : LoadOutcome::NoFile;
    }
    try {
        CFile file(m_szPath, CFile::modeRead);
        return LoadFrom(file);
    } catch (const CFileException&) {
        return LoadOutcome::Unreadable;  // it could not be opened
    }
}

LoadOutcome CPatternSet::LoadFrom(CFile& file)
{
    Clear();
    std::int32_t claimed = 0;
    int kept = 0;
    try {
        Reader in(file);
        if (in.ReadInt(claimed) && claimed > 0) {
            int wanted = claimed < MAX_PATTERNS ? claimed : MAX_PATTERNS;
            while (kept < wanted && ReadPatternRecord(in, m_pattern[kept]))
                ++kept;
        }
    } catch (const CFileException&) {
        // Whatever was read whole before the failure is kept.
    }
    if (kept < MAX_PATTERNS)
        m_pattern[kept].Init();  // a record cut short leaves nothing behind
    m_nCount = kept > 0 ? kept : 1;
    if (kept == 0)
        return LoadOutcome::Unreadable;
    return kept == claimed ? LoadOutcome::Whole : LoadOutcome::Partial;
}

void CPatternSet::SaveTo(CFile& file) const
{
    WriteInt(file, m_nCount);
    for (int i = 0; i < m_nCount; ++i) {
        WriteString(file, m_pattern[i].GetName());
        WriteEntries(file, m_pattern[i], kMasks);
        WriteEntries(file, m_pattern[i], kDirs);
    }
}

void CPatternSet::Save()
{
    if (m_szPath[0] == '\0')
        throw CFileException(CFileException::badPath, platform::NameTooLongError(), "Tidymoth.use");
    bool readOnly = false;
    if (platform::GetFileReadOnly(m_szPath, &readOnly) && readOnly)
        throw CFileException(CFileException::accessDenied, platform::AccessDeniedError(), m_szPath);

    // The whole set goes to a temporary file beside the settings file, which
    // then takes its place in one step: a failure leaves the old file intact.
    CString temp = CString(m_szPath) + ".tmp";
    try {
        CFile file(temp, CFile::modeCreate | CFile::modeWrite);
        SaveTo(file);
        file.Flush();
        file.Close();
    } catch (...) {
        platform::RemoveFile(temp);
        throw;
    }
    if (long error = platform::ReplaceFileWith(temp, m_szPath)) {
        platform::RemoveFile(temp);
        throw CFile::ErrorFor(error, m_szPath);
    }
}
