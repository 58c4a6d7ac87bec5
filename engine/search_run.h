// One search: the current pattern's directories walked in order, each for
// every mask, until the walk ends, the caller says stop or the result set is
// full. The results are those of walking the tree once per mask: the first
// mask's, then the second's, each depth first (a folder's own matches in the
// order the system lists them, then each subfolder's). Each folder is listed
// once: the first mask is matched on that listing, which also keeps the
// folders and the names a later mask takes, and each later mask walks what
// was kept. This is the results window's order; the console program takes
// each folder as it comes instead (engine/cleanup_run.h).
#pragma once

#include <memory>
#include <vector>

#include "engine/file_mask.h"
#include "engine/file_walk.h"
#include "platform/cstring.h"

class CPatternSet;

// The most results a search stores.
const int MAX_RESULTS = 64000;

// A mask names entries of the searched directory only: no "\", "/" or ":".
bool IsPlainMask(const char* mask);

// A stored directory of the current pattern: as stored, and as the search
// takes it (absolute, or empty for an empty entry or a relative one with no
// start-up directory to take it from), with its subfolder flag.
struct StoredDirectory {
    CString stored;
    CString path;
    int recurse;
};

// Every stored directory of the current pattern, in order; relative ones
// are taken from `startDir`.
std::vector<StoredDirectory> StoredDirectories(const CPatternSet& set, const CString& startDir);

// The masks of the current pattern the search takes, in order. A mask with a
// folder part would name files of another folder, and an empty one (only a
// damaged settings file holds one) names none.
std::vector<CString> SearchedMasks(const CPatternSet& set);

// What the search tells its caller and asks of it.
class WalkCaller {
public:
    virtual ~WalkCaller() = default;
    // A folder was entered, before anything of it is reported.
    virtual void DirectoryEntered(const CString& dir) = 0;
    // The results stored so far; the search stores no more than MAX_RESULTS.
    virtual int ResultCount() const = 0;
    // A file was found: store it as the next result, with its path as the
    // code page spells it for the user.
    virtual void FileFound(const CString& path, const CFoundFile& file) = 0;
    // Called after every entry that a mask takes: true when the search must end.
    virtual bool StopNow() = 0;
};

class CSearchRun : private WalkVisitor {
public:
    CSearchRun(WalkFileSystem& fileSystem, WalkCaller& caller);
    ~CSearchRun() override;

    // Searches the current pattern of `set`, which must not change meanwhile;
    // relative directories are taken from `startDir`. With a `filter`, which
    // must live until the run ends, only the files it takes are results.
    // Afterwards the current directory is the last folder the search
    // reported entering that the system takes as one, if any.
    void Run(const CPatternSet& set, const CString& startDir, const FileFilter* filter = nullptr);

    // The last run ended at a match that found the result set full.
    bool LimitReached() const { return m_bLimitReached; }
    // The last run ended before its end: a stop, or a full result set.
    bool EndedEarly() const { return m_bStop || m_bLimitReached; }
    // The files of the last run that the masks took and the filter left out.
    long long LeftOut() const { return m_nLeftOut; }

private:
    struct Folder;
    // The stored directory as the first mask's walk entered it, and what it kept.
    struct Top {
        WalkPlace place;
        std::unique_ptr<Folder> folder;
    };

    // The walk of one stored directory for every mask; false once the search must end.
    bool SearchDirectory(const StoredDirectory& dir);
    // A later mask's walk over what the first one kept.
    void WalkKept(const Folder& folder, WalkPlace& place, const CFileMask& mask);
    // The folder at `place` was entered.
    void Reached(const WalkPlace& place);
    // Stores a found file unless the filter leaves it out; false (the walk
    // ends) when the result set is full.
    bool Found(const WalkPlace& place, const wchar_t* exactName, std::uint64_t fileId, const FileFacts& facts);
    // The poll after an entry a mask took; false when the walk must end.
    bool Poll();

    void Entered(const WalkPlace& place) override;
    bool Entry(const WalkPlace& place, const WalkFileSystem::Entry& entry) override;
    void Left(const WalkPlace& place) override;

    WalkFileSystem& m_fs;
    WalkCaller& m_caller;
    CFileWalk m_walk;
    std::vector<CFileMask> m_masks;
    const FileFilter* m_filter = nullptr;
    bool m_bStop = false;
    bool m_bLimitReached = false;
    long long m_nLeftOut = 0;
    std::wstring m_lastEnterable;
    // What the later masks walk, and the folders of it the walk is in.
    std::unique_ptr<Top> m_top;
    std::vector<Folder*> m_path;
};
