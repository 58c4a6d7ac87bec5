#include "engine/cleanup_rules.h"

#include "engine/paths.h"

namespace {

bool HasFolderPart(const std::wstring& value)
{
    return value.find_first_of(L"\\/:") != std::wstring::npos;
}

std::wstring Upcased(std::wstring text)
{
    for (wchar_t& c : text)
        c = UpcaseForNames(c);
    return text;
}

}  // namespace

FolderExclusionKind KindOfFolderExclusion(const std::wstring& value)
{
    if (value.empty())
        return FolderExclusionKind::Invalid;
    if (!HasFolderPart(value))
        return FolderExclusionKind::Name;
    // A folder of the file system: absolute, and no wildcard a name cannot hold.
    if (value.find_first_of(L"*?") != std::wstring::npos || VerbatimDirectory(value).empty())
        return FolderExclusionKind::Invalid;
    return FolderExclusionKind::Path;
}

bool IsFileExclusion(const std::wstring& value)
{
    return !value.empty() && !HasFolderPart(value);
}

CExclusions::CExclusions(const std::vector<std::wstring>& files, const std::vector<std::wstring>& folders)
{
    for (const std::wstring& mask : files)
        m_files.emplace_back(mask);
    for (const std::wstring& folder : folders) {
        if (KindOfFolderExclusion(folder) == FolderExclusionKind::Name)
            m_folderNames.emplace_back(folder);
        else
            m_folderPaths.push_back(Upcased(VerbatimDirectory(folder)));
    }
}

bool CExclusions::ExcludesFile(const wchar_t* name) const
{
    for (const CFileMask& mask : m_files) {
        if (mask.Takes(name))
            return true;
    }
    return false;
}

bool CExclusions::ExcludesFolder(const std::wstring& name, const std::wstring& verbatim) const
{
    for (const CFileMask& mask : m_folderNames) {
        if (mask.Takes(name.c_str()))
            return true;
    }
    return ExcludesPath(verbatim);
}

bool CExclusions::ExcludesPath(const std::wstring& verbatim) const
{
    if (m_folderPaths.empty())
        return false;
    const std::wstring path = Upcased(verbatim);
    for (const std::wstring& excluded : m_folderPaths) {
        if (path == excluded)
            return true;
    }
    return false;
}

bool CExclusions::ExcludesStoredDirectory(const std::wstring& verbatim) const
{
    // The root itself, then each folder down to the directory.
    size_t end = RootLengthOf(verbatim);
    if (ExcludesPath(verbatim.substr(0, end)))
        return true;
    for (size_t start = end; start < verbatim.size(); start = end + 1) {
        end = verbatim.find(L'\\', start);
        if (end == std::wstring::npos)
            end = verbatim.size();
        if (end > start && ExcludesFolder(verbatim.substr(start, end - start), verbatim.substr(0, end)))
            return true;
    }
    return false;
}

bool TakesEveryName(const CFileMask& mask)
{
    // Names of every shape a mask can tell apart: no dot, a dot first, last
    // or twice, one character, spaces, a wide character.
    static const wchar_t* const kNames[] = {L"a",     L"noext",           L"x.tmp",  L".hidden", L"end.",
                                            L"a.b.c", L"A LONG NAME.TXT", L"表.doc", L"1"};
    for (const wchar_t* name : kNames) {
        if (!mask.Takes(name))
            return false;
    }
    return true;
}

bool EmptiesVolume(const std::wstring& dir, bool mountPoint, int recurse, const std::wstring& mask)
{
    if (recurse != 1 || !TakesEveryName(CFileMask(mask)))
        return false;
    const std::wstring verbatim = VerbatimDirectory(dir);
    return mountPoint || (!verbatim.empty() && RootLengthOf(verbatim) >= verbatim.size());
}
