// The walk of one stored directory for every mask of a pattern. Each folder
// is listed once: the first mask is matched on that listing, which also keeps
// the folder's subfolders and the names a later mask takes, and each later
// mask walks what was kept. The results are those of walking the tree once
// per mask: the first mask's, then the second's, each depth first (a folder's
// own matches in the order the system lists them, then each subfolder's).
// It knows nothing of windows: it reads the file system and reports to its
// caller through the two interfaces below.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_mask.h"
#include "engine/found_file.h"
#include "platform/cstring.h"

// The most results a search stores.
const int MAX_RESULTS = 64000;

// What the walk needs of the file system. Folders are named by their
// verbatim form (engine/paths.h), never by a form the system normalises.
class WalkFileSystem {
public:
    struct Entry {
        const wchar_t* exactName;  // as the file system spells it
        bool isDirectory;
        bool isReparsePoint;
        std::uint32_t reparseTag;  // what kind of reparse point it is
        std::uint64_t fileId;      // the file system's id for it, where it keeps one
        FileFacts facts;           // its size and times
    };
    // The entries of one folder in the system's order, "." and ".." among
    // them; the folder is let go when the listing is destroyed.
    class Listing {
    public:
        virtual ~Listing() = default;
        // The next entry, valid until the next call; false after the last.
        virtual bool Next(Entry& entry) = 0;
        // The listing stopped at a failure, not at its end.
        virtual bool EndedInError() const = 0;
    };

    virtual ~WalkFileSystem() = default;
    // The exact form of a stored directory or mask.
    virtual std::wstring ExactFormOf(const CString& text) const = 0;
    // A name as the code page spells it for the user: "？" for a character it
    // cannot spell, never a look-alike.
    virtual CString SpellingOf(const wchar_t* exactName) const = 0;
    // Every entry of the folder at `verbatimDir`, or nothing when it cannot
    // be entered (missing, not a folder, no access, beyond the system's limit).
    virtual std::unique_ptr<Listing> List(const std::wstring& verbatimDir) = 0;
    // The names the system reports for the folder at `verbatimDir`, links
    // followed, in both the forms the check before a delete reads a file's;
    // empty where it reports none.
    virtual ReportedName ReportedNameOf(const std::wstring& verbatimDir) = 0;
    // Makes the folder at the plain path `plainDir` the current directory.
    virtual bool EnterDirectory(const std::wstring& plainDir) = 0;
};

// What the walk tells its caller and asks of it.
class WalkCaller {
public:
    virtual ~WalkCaller() = default;
    // A folder was entered, before anything of it is reported.
    virtual void DirectoryEntered(const CString& dir) = 0;
    // The results stored so far; the walk stores no more than MAX_RESULTS.
    virtual int ResultCount() const = 0;
    // A file was found: store it as the next result, with its path as the
    // code page spells it for the user.
    virtual void FileFound(const CString& path, const CFoundFile& file) = 0;
    // Called after every entry that a mask takes: true when the walk must end.
    virtual bool StopNow() = 0;
};

// Whether a folder that is a reparse point of kind `tag` is walked: only the
// kinds that keep an ordinary folder's own contents (cloud placeholders,
// deduplicated or tiered storage, ...). Links, junctions, mount points and
// every kind not known here lead elsewhere and are never followed.
bool IsOrdinaryFolderReparseTag(std::uint32_t tag);

class CFileWalk {
public:
    CFileWalk(WalkFileSystem& fileSystem, WalkCaller& caller) : m_fs(fileSystem), m_caller(caller) {}

    // Walks `dir`, absolute, for each of `masks` in turn, with its
    // subfolders when `recurse` is 1. Returns false once the walk must end:
    // the caller said stop, or the result set is full. Afterwards the current
    // directory is the last folder the walk reported entering that the
    // system takes as one, if any.
    bool Walk(const CString& dir, const std::vector<CString>& masks, int recurse);
    // A new search: no stop, no full result set, none left out, and only
    // the files `filter` takes (any file without one), which must outlive it.
    void Reset(const FileFilter* filter = nullptr)
    {
        m_bStop = m_bLimitReached = false;
        m_filter = filter && filter->Any() ? filter : nullptr;
        m_nLeftOut = 0;
    }
    // The files the masks took that the filter left out.
    long long LeftOut() const { return m_nLeftOut; }
    // The walk ended at a match that found the result set full.
    bool LimitReached() const { return m_bLimitReached; }
    bool MustEnd() const { return m_bStop || m_bLimitReached; }

private:
    struct Folder;
    class Place;

    bool ListFolder(Folder& folder, Place& place, const std::vector<CFileMask>& masks, int recurse);
    void WalkKept(const Folder& folder, Place& place, const CFileMask& mask);
    // The folder at `verbatim`, where the walk is, was entered.
    void Entered(const Place& place, const std::wstring& verbatim);
    // Stores a found file unless the filter leaves it out; false (the walk
    // ends) when the result set is full.
    bool Found(const Place& place, const wchar_t* exactName, std::uint64_t fileId, const FileFacts& facts);
    // The poll after an entry a mask took; false when the walk must end.
    bool Poll();

    WalkFileSystem& m_fs;
    WalkCaller& m_caller;
    bool m_bStop = false;
    bool m_bLimitReached = false;
    const FileFilter* m_filter = nullptr;
    long long m_nLeftOut = 0;
    std::shared_ptr<const CSearchRoot> m_root;
    std::wstring m_lastEnterable;
};
