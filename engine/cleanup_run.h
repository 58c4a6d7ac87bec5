// An unattended cleanup: the current pattern's directories walked folder by
// folder, each folder's own files that a mask takes (each once, whichever
// masks take it), that no exclusion names and the filter keeps handled right
// after its listing, in the order it gave them, then its subfolders, depth
// first; and, after them, the folder itself removed where this run emptied
// it. Nothing is kept for later: memory follows the depth of the tree and
// its widest folder, never the number of files. A file is handled once per
// run even where the stored directories overlap. Every folder that could not
// be read is said.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/cleanup_rules.h"
#include "engine/file_filter.h"
#include "engine/file_walk.h"
#include "engine/search_run.h"

// What the cleanup does to what it takes; a run that only lists has none.
class CleanupActions {
public:
    virtual ~CleanupActions() = default;
    // Deletes the listed file, or moves it into the Recycle Bin, after the
    // check before a delete.
    virtual DeleteOutcome DeleteListedFile(const CFoundFile& file) = 0;
    // Removes an emptied folder for good: only while it is the folder listed,
    // is no reparse point and is empty.
    virtual DeleteOutcome RemoveEmptiedFolder(const CFoundFile& folder) = 0;
};

struct CleanupCounts {
    std::uint64_t folders = 0;  // listed
    std::uint64_t taken = 0;    // files listed, or tried
    std::uint64_t deleted = 0;
    std::uint64_t failed = 0;
    std::uint64_t takenBytes = 0;
    std::uint64_t deletedBytes = 0;
    std::uint64_t leftOut = 0;  // taken by a mask, left out by the filter
    std::uint64_t excludedFiles = 0;
    std::uint64_t excludedFolders = 0;
    std::uint64_t foldersRemoved = 0;
    std::uint64_t foldersKept = 0;  // emptied, and not removed
    std::uint64_t unreadFolders = 0;
    bool ceilingReached = false;
    bool stopped = false;
};

// What the cleanup tells its caller, as it happens.
class CleanupReporter {
public:
    virtual ~CleanupReporter() = default;
    // A folder's listing began; `counts` are those so far.
    virtual void FolderEntered(const WalkPlace&, const CleanupCounts&) {}
    // A file taken: listed, or handled with `outcome` by a run that deletes.
    virtual void FileTaken(const CFoundFile& file, const DeleteOutcome* outcome) = 0;
    // An emptied folder removed, or not.
    virtual void FolderRemoved(const CFoundFile& folder, const DeleteOutcome& outcome) = 0;
    // A folder that could not be listed, or not to the end (`partWay`), in
    // the user's form; empty for a stored directory that is an empty entry.
    virtual void FolderUnread(const std::wstring& shown, std::uint32_t error, bool partWay) = 0;
    // A stored directory that is not searched, for it or a folder it lies in is excluded.
    virtual void DirectoryExcluded(const std::wstring& shown) = 0;
    // True when the run must end now (after the current file).
    virtual bool StopNow() = 0;
};

struct CleanupSettings {
    std::vector<CString> masks;  // the pattern's, as searched
    const FileFilter* filter = nullptr;
    CExclusions exclusions;
    std::uint64_t maxFiles = 0;  // the most files taken; 0 for no ceiling
    bool removeEmptyFolders = false;
};

// The first stored directory and mask that together would empty a volume,
// with the directory as the user reads it; false when there is none.
bool FindVolumeWipe(WalkFileSystem& fileSystem, const std::vector<StoredDirectory>& dirs, const std::vector<CString>& masks,
                    std::wstring& dir, std::wstring& mask);

class CCleanupRun : private WalkVisitor {
public:
    // `actions` none for a run that only lists.
    CCleanupRun(WalkFileSystem& fileSystem, CleanupActions* actions, CleanupReporter& reporter)
        : m_fs(fileSystem), m_actions(actions), m_reporter(reporter), m_walk(fileSystem)
    {}

    // Runs over `dirs` in order, as `settings` (which must outlive the run) say.
    void Run(const std::vector<StoredDirectory>& dirs, const CleanupSettings& settings);
    const CleanupCounts& Counts() const { return m_counts; }

private:
    // A folder on the walk's path: what its listing held, and what of it is gone.
    struct Folder {
        std::uint64_t entries = 0;
        std::uint64_t gone = 0;
        bool filesCovered = false;  // an earlier stored directory took them
        bool failed = false;        // its listing ended in an error
    };
    // A file of the folder being listed that is to be handled.
    struct Taken {
        std::wstring exactName;
        std::uint64_t fileId;
        FileFacts facts;
    };
    // A stored directory already walked, as the system reports its path.
    struct Region {
        std::wstring reported;
        bool recurse;
    };

    // The path the system reports for the folder at `place`; empty where it gave none.
    static std::wstring ReportedPathOf(const WalkPlace& place);
    // The walk of an earlier stored directory took the files of the folder
    // at `reported`, and all below it when `whole`.
    bool Covered(const std::wstring& reported, bool whole) const;

    bool WalksInto(const WalkPlace& place) override;
    void Unreadable(const WalkPlace& place, std::uint32_t error) override;
    void Entered(const WalkPlace& place) override;
    bool Entry(const WalkPlace& place, const WalkFileSystem::Entry& entry) override;
    bool Listed(const WalkPlace& place, std::uint32_t error) override;
    void Left(const WalkPlace& place) override;

    WalkFileSystem& m_fs;
    CleanupActions* m_actions;
    CleanupReporter& m_reporter;
    CFileWalk m_walk;
    const CleanupSettings* m_settings = nullptr;
    std::vector<CFileMask> m_masks;
    int m_recurse = 0;
    std::wstring m_rootReported;  // the stored directory being walked, as the system reports it
    std::vector<Region> m_regions;
    std::vector<Folder> m_path;
    std::vector<Taken> m_taken;
    CleanupCounts m_counts;
};
