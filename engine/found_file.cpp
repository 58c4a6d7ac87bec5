#include "engine/found_file.h"

#include "engine/paths.h"

namespace {

// A file system that keeps no ids gives 0 or all ones.
bool IsKnownFileId(std::uint64_t id)
{
    return id != 0 && id != ~std::uint64_t(0);
}

}  // namespace

std::wstring CFoundFile::Shown() const
{
    return m_root ? JoinExactPath(m_root->shown, m_below) : std::wstring();
}

std::wstring CFoundFile::Verbatim() const
{
    return m_root ? JoinExactPath(m_root->verbatim, m_below) : std::wstring();
}

bool CFoundFile::NeedsId() const
{
    return HasNameEndingInDotOrSpace(Verbatim());
}

FileVerdict CFoundFile::Judge(std::uint64_t openedId, const ReportedName& reported) const
{
    if (!m_root)
        return FileVerdict::Other;
    const bool final = !reported.finalPath.empty();
    const std::wstring& reportedName = final ? reported.finalPath : reported.onVolume;
    const std::wstring& rootName = final ? m_root->reported.finalPath : m_root->reported.onVolume;
    if (reportedName.empty() || rootName.empty())
        return FileVerdict::Other;
    const std::wstring expected = JoinExactPath(rootName, m_below);
    if (!NeedsId())
        return reportedName == expected ? FileVerdict::Listed : FileVerdict::Other;
    // Such a name may be reported without its closing dots and spaces, as its
    // namesake's would be: only the id can tell the two apart.
    if (!IsKnownFileId(m_fileId) || openedId != m_fileId || !SameButForClosingDotsAndSpaces(reportedName, expected))
        return FileVerdict::Other;
    return FileVerdict::AskNamesake;
}
