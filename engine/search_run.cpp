#include "engine/search_run.h"

#include "engine/paths.h"
#include "patterns/pattern_set.h"
#include "platform/mbcs.h"

bool IsPlainMask(const char* mask)
{
    // ":" and "/" have no trail-byte look-alikes; "\" is found by whole characters.
    for (const char* p = mask; *p; ++p) {
        if (*p == ':' || *p == '/')
            return false;
    }
    return MbsRChr(mask, '\\') == nullptr;
}

std::vector<SearchedDirectory> SearchedDirectories(const CPatternSet& set, const CString& startDir)
{
    std::vector<SearchedDirectory> dirs;
    for (int i = 0; i < set.GetDirCount(); ++i) {
        const CString dir = set.GetDir(i);
        if (!dir.IsEmpty() && (IsAbsolutePath(dir) || !startDir.IsEmpty()))
            dirs.push_back({ResolveDirectory(dir, startDir), set.GetDirFlag(i)});
    }
    return dirs;
}

std::vector<CString> SearchedMasks(const CPatternSet& set)
{
    std::vector<CString> masks;
    for (int j = 0; j < set.GetMaskCount(); ++j) {
        const CString mask = set.GetMask(j);
        if (!mask.IsEmpty() && IsPlainMask(mask))
            masks.push_back(mask);
    }
    return masks;
}

void CSearchRun::Run(const CPatternSet& set, const CString& startDir, const FileFilter* filter)
{
    m_walk.Reset(filter);
    const std::vector<CString> masks = SearchedMasks(set);
    for (const SearchedDirectory& dir : SearchedDirectories(set, startDir)) {
        if (!SearchDirectory(dir, masks))
            break;
    }
}

bool CSearchRun::SearchDirectory(const SearchedDirectory& dir, const std::vector<CString>& masks)
{
    return m_walk.Walk(dir.path, masks, dir.recurse);
}
