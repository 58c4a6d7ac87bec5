#include "engine/search_logic.h"

#include "patterns/pattern_set.h"
#include "platform/mbcs.h"

namespace {

struct ScheduleStep {
    int count;
    int maximum;
};

const ScheduleStep kSchedule[] = {
    {100, 300},   {300, 500},   {500, 1000},   {1000, 1500},   {1500, 2000},   {2000, 3000},
    {3000, 5000}, {5000, 8000}, {8000, 10000}, {10000, 15000}, {15000, 20000},
};

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

int ProgressMaximumFor(int count)
{
    for (const ScheduleStep& step : kSchedule) {
        if (step.count == count)
            return step.maximum;
    }
    return 0;
}

CString JoinPath(const CString& dir, const char* name)
{
    CString path = dir;
    if (!EndsWithSeparator(path))
        path += "\\";
    path += name;
    return path;
}

std::wstring JoinExactPath(const std::wstring& dir, const wchar_t* name)
{
    std::wstring path = dir;
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    path += name;
    return path;
}

bool IsPlainMask(const char* mask)
{
    // ":" and "/" have no trail-byte look-alikes; "\" is found by whole characters.
    for (const char* p = mask; *p; ++p) {
        if (*p == ':' || *p == '/')
            return false;
    }
    return MbsRChr(mask, '\\') == nullptr;
}

bool IsAbsolutePath(const char* path)
{
    if (path[0] == '\\' && path[1] == '\\')
        return true;
    return IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

CString ResolveDirectory(const CString& dir, const CString& base)
{
    if (IsAbsolutePath(dir))
        return dir;
    const char* text = dir;
    if (text[0] == '\\') {
        // Root of the base's drive.
        CString drive = IsAsciiLetter(base.GetAt(0)) && base.GetLength() >= 2 && base.GetAt(1) == ':' ? base.Left(2) : CString();
        return drive + dir;
    }
    if (IsAsciiLetter(text[0]) && text[1] == ':') {
        // "C:DATA": relative to that drive's root, the only directory we know on it.
        CString path = dir.Left(2) + "\\";
        path += text + 2;
        return path;
    }
    return JoinPath(base, text);
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
