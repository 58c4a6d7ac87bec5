#include "engine/found_file.h"

#include "engine/paths.h"

bool IsKnownFileId(std::uint64_t id)
{
    return id != 0 && id != ~std::uint64_t(0);
}

std::wstring CFoundFile::Shown() const
{
    return m_root ? JoinExactPath(m_root->shown, m_below) : std::wstring();
}

std::wstring CFoundFile::Verbatim() const
{
    return m_root ? JoinExactPath(m_root->verbatim, m_below) : std::wstring();
}

FileVerdict CFoundFile::Judge(std::uint64_t openedId, const std::wstring& reportedName) const
{
    if (!m_root || m_root->reported.empty() || reportedName.empty())
        return FileVerdict::Other;
    const bool knownId = IsKnownFileId(m_fileId);
    if (knownId && openedId != m_fileId)
        return FileVerdict::Other;
    const std::wstring expected = JoinExactPath(m_root->reported, m_below);
    if (!HasNameEndingInDotOrSpace(Verbatim()))
        return reportedName == expected ? FileVerdict::Listed : FileVerdict::Other;
    // Such a name may be reported without its closing dots and spaces, as its
    // namesake's would be: only the id can tell the two apart.
    if (!knownId || !SameButForClosingDotsAndSpaces(reportedName, expected))
        return FileVerdict::Other;
    return FileVerdict::AskNamesake;
}
