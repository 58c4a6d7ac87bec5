#include "engine/file_walk.h"

#include <cwchar>

#include "engine/search_logic.h"

bool CFileWalk::Walk(CString dir, const CString& mask, int recurse)
{
    return WalkExact(dir, m_fs.ExactFormOf(dir), m_fs.ExactFormOf(mask), recurse);
}

// The walk keeps each path twice: as the code page spells it, the text the
// user sees and the settings file holds, and exactly, the name it deletes.
bool CFileWalk::WalkExact(CString dir, std::wstring exactDir, const std::wstring& exactMask, int recurse)
{
    if (MustEnd())
        return false;
    if (!m_fs.EnterDirectory(exactDir))
        return true;
    m_caller.DirectoryEntered(dir);

    // The file pass: every match that is no directory is a result, and
    // every match, directory or not, is followed by a poll.
    m_fs.Enumerate(exactMask, [&](const WalkFileSystem::Entry& entry) {
        if (!entry.isDirectory) {
            if (m_caller.ResultCount() >= MAX_RESULTS) {
                // The result set is full: the walk ends here, and what was
                // found is listed.
                m_bLimitReached = true;
                return false;
            }
            m_caller.FileFound(JoinPath(dir, entry.name), JoinExactPath(exactDir, entry.exactName));
        }
        m_bStop = m_caller.StopNow();
        return !m_bStop;
    });
    // Without subfolders the pass over them could change nothing.
    if (MustEnd() || recurse != 1)
        return !MustEnd();

    // The subdirectory pass: the walk's own copy of `dir` is extended by each
    // name and cut back after it, by whole code-page-932 characters.
    m_fs.Enumerate(L"*", [&](const WalkFileSystem::Entry& entry) {
        if (!entry.isDirectory || std::wcscmp(entry.exactName, L".") == 0 || std::wcscmp(entry.exactName, L"..") == 0)
            return true;
        dir = JoinPath(dir, entry.name);
        exactDir = JoinExactPath(exactDir, entry.exactName);
        // Junctions and symbolic links are not followed: they lead out of the
        // chosen trees, or round in a loop.
        if (!entry.isReparsePoint)
            WalkExact(dir, exactDir, exactMask, 1);
        if (MustEnd())
            return false;
        CutAtLastSeparator(dir);
        CutExactAtLastSeparator(exactDir);
        return true;
    });
    return !MustEnd();
}
