// One search: the current pattern's directories walked in order, each for
// every mask, until the walk ends, the caller says stop or the result set is
// full. The window program and the console program run it alike, each with
// its own progress and its own answer to "stop now?".
#pragma once

#include <vector>

#include "engine/file_walk.h"
#include "platform/cstring.h"

class CPatternSet;

// A mask names entries of the searched directory only: no "\", "/" or ":".
bool IsPlainMask(const char* mask);

// A stored directory as the search takes it: absolute, with its subfolder flag.
struct SearchedDirectory {
    CString path;
    int recurse;
};

// The directories of the current pattern the search walks, in order: each
// relative one taken from `startDir`; an empty entry, or a relative one with
// no start-up directory to take it from, names none.
std::vector<SearchedDirectory> SearchedDirectories(const CPatternSet& set, const CString& startDir);

// The masks of the current pattern the search takes, in order. A mask with a
// folder part would name files of another folder, and an empty one (only a
// damaged settings file holds one) names none.
std::vector<CString> SearchedMasks(const CPatternSet& set);

class CSearchRun {
public:
    CSearchRun(WalkFileSystem& fileSystem, WalkCaller& caller) : m_walk(fileSystem, caller) {}

    // Searches the current pattern of `set`, which must not change meanwhile;
    // relative directories are taken from `startDir`. With a `filter`, which
    // must live until the run ends, only the files it takes are results.
    void Run(const CPatternSet& set, const CString& startDir, const FileFilter* filter = nullptr);

    // The last run ended at a match that found the result set full.
    bool LimitReached() const { return m_walk.LimitReached(); }
    // The last run ended before its end: a stop, or a full result set.
    bool EndedEarly() const { return m_walk.MustEnd(); }
    // The files of the last run that the masks took and the filter left out.
    long long LeftOut() const { return m_walk.LeftOut(); }

private:
    // The walk of one stored directory for every mask; false once the search must end.
    bool SearchDirectory(const SearchedDirectory& dir, const std::vector<CString>& masks);

    CFileWalk m_walk;
};
