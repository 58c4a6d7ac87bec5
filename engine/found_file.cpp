#include "engine/found_file.h"

#include "engine/file_mask.h"
#include "engine/paths.h"

namespace {

// A file system that keeps no ids gives 0 or all ones.
bool IsKnownFileId(std::uint64_t id)
{
    return id != 0 && id != ~std::uint64_t(0);
}

}  // namespace

bool IsReportedAt(const ReportedName& file, const ReportedName& folder, const std::wstring& name)
{
    const bool final = !file.finalPath.empty();
    const std::wstring& reported = final ? file.finalPath : file.onVolume;
    const std::wstring& dir = final ? folder.finalPath : folder.onVolume;
    const std::wstring expected = JoinExactPath(dir, name);
    if (dir.empty() || name.empty() || reported.size() != expected.size())
        return false;
    const size_t names = expected.size() - name.size();
    if (reported.compare(0, names, expected, 0, names) != 0)
        return false;
    for (size_t i = names; i < reported.size(); ++i) {
        if (UpcaseForNames(reported[i]) != UpcaseForNames(expected[i]))
            return false;
    }
    return true;
}

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
        return reportedName == expected ? FileVerdict::Listed : FileVerdict::Elsewhere;
    // Such a name may be reported without its closing dots and spaces, as its
    // namesake's would be: only the id can tell the two apart.
    if (!SameButForClosingDotsAndSpaces(reportedName, expected))
        return FileVerdict::Elsewhere;
    if (!IsKnownFileId(m_fileId) || openedId != m_fileId)
        return FileVerdict::Other;
    return FileVerdict::AskNamesake;
}

DeleteFault FaultOfError(std::uint32_t error)
{
    switch (error) {
    case 0:
        return DeleteFault::None;
    case 2:  // the file is not found
    case 3:  // nor its folder
        return DeleteFault::Gone;
    case 32:  // a sharing violation
    case 33:  // a lock
        return DeleteFault::InUse;
    case 5:  // access denied
        return DeleteFault::NoAccess;
    case 145:  // the folder is not empty
        return DeleteFault::NotEmpty;
    default:
        return DeleteFault::Other;
    }
}
