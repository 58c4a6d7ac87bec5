// The one walk of a stored directory: each folder is listed once, its entries
// handed to the caller as the listing gives them, then each subfolder walked
// in listing order, depth first, and the folder left after them. What it
// keeps is the path it is on and, for each folder on it, the subfolders still
// to walk: memory follows the depth and the widest folder, never the tree.
// The order a caller reports in is its own (engine/search_run.h replays a
// pattern's masks one after the other; engine/cleanup_run.h takes each folder
// as it comes). It knows nothing of windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/found_file.h"
#include "platform/cstring.h"

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
        // The system's error where the listing stopped at a failure, not at its end; else 0.
        virtual std::uint32_t Error() const = 0;
    };

    virtual ~WalkFileSystem() = default;
    // The exact form of a stored directory or mask.
    virtual std::wstring ExactFormOf(const CString& text) const = 0;
    // A name as the code page spells it for the user: "？" for a character it
    // cannot spell, never a look-alike.
    virtual CString SpellingOf(const wchar_t* exactName) const = 0;
    // Every entry of the folder at `verbatimDir`, or nothing, with the
    // system's `error`, when it cannot be listed (missing, not a folder, no
    // access, beyond the system's limit).
    virtual std::unique_ptr<Listing> List(const std::wstring& verbatimDir, std::uint32_t& error) = 0;
    // The names the system reports for the folder at `verbatimDir`, links
    // followed, in both the forms the check before a delete reads a file's;
    // empty where it reports none.
    virtual ReportedName ReportedNameOf(const std::wstring& verbatimDir) = 0;
    // The folder at `verbatimDir` is where another volume is mounted.
    virtual bool IsVolumeMountPoint(const std::wstring& verbatimDir) = 0;
    // Makes the folder at the plain path `plainDir` the current directory.
    virtual bool EnterDirectory(const std::wstring& plainDir) = 0;
};

// The entries "." and "..", which every listing holds and name no entry of their own.
bool IsDotOrDotDot(const wchar_t* name);

// The system's errors the engine names itself.
const std::uint32_t WALK_ERROR_PATH_NOT_FOUND = 3;
const std::uint32_t WALK_ERROR_BAD_PATHNAME = 161;
const std::uint32_t WALK_ERROR_DIRECTORY = 267;  // the name is not a folder's

// Whether a folder that is a reparse point of kind `tag` is walked: only the
// kinds that keep an ordinary folder's own contents (cloud placeholders,
// deduplicated or tiered storage, ...). Links, junctions, mount points and
// every kind not known here lead elsewhere and are never followed.
bool IsOrdinaryFolderReparseTag(std::uint32_t tag);

// Where the walk is, twice over: as the code page spells it (the text the
// user sees), and as the names below the stored directory exactly as the
// listings gave them, from which every other form is made. A subfolder is
// left by going back to the lengths before it, so the two always agree and
// no cut can fall inside a name.
class WalkPlace {
public:
    WalkPlace(std::shared_ptr<const CSearchRoot> root, const CString& dir) : m_root(std::move(root)), m_text(dir) {}

    const CSearchRoot& Root() const { return *m_root; }
    const CString& Text() const { return m_text; }
    const std::wstring& Below() const { return m_below; }
    bool IsStoredDirectory() const { return m_levels.empty(); }
    // The folder's own name, exact; empty for the stored directory.
    std::wstring Name() const;
    // The folder's verbatim path, which every call takes.
    std::wstring Verbatim() const;
    // The folder is a reparse point (a placeholder the walk enters), or lies behind one.
    bool BehindReparsePoint() const;
    // The entry `exactName` of this folder, as the check before a delete takes it.
    CFoundFile Found(const wchar_t* exactName, std::uint64_t fileId, const FileFacts& facts) const;
    // This folder itself, with the id its parent's listing gave it.
    CFoundFile Self() const;

    void Push(const CString& name, const std::wstring& exactName, std::uint64_t fileId, bool reparsePoint);
    void Pop();

private:
    struct Level {
        int text;
        size_t below;
        std::uint64_t fileId;
        bool reparsePoint;
    };
    std::shared_ptr<const CSearchRoot> m_root;
    CString m_text;
    std::wstring m_below;
    std::vector<Level> m_levels;
};

// What the walk tells its caller, and asks of it, folder by folder.
class WalkVisitor {
public:
    virtual ~WalkVisitor() = default;
    // Asked before the stored directory, and each subfolder the walk would
    // enter, is listed: false passes over it and all below it.
    virtual bool WalksInto(const WalkPlace&) { return true; }
    // The folder could not be listed: `error` is the system's reason.
    virtual void Unreadable(const WalkPlace&, std::uint32_t) {}
    // The folder's listing began; its entries come next.
    virtual void Entered(const WalkPlace& place) = 0;
    // One entry of the folder, "." and ".." too: false ends the walk.
    virtual bool Entry(const WalkPlace& place, const WalkFileSystem::Entry& entry) = 0;
    // The folder's listing ended, at its end (`error` 0) or at a failure:
    // false ends the walk.
    virtual bool Listed(const WalkPlace&, std::uint32_t) { return true; }
    // The folder's subfolders are done too; not called once the walk ends early.
    virtual void Left(const WalkPlace&) {}
};

class CFileWalk {
public:
    explicit CFileWalk(WalkFileSystem& fileSystem) : m_fs(fileSystem) {}

    // Walks `dir`, absolute, with its subfolders when `recurse` is 1, for
    // `visitor`. False when the visitor ended the walk.
    bool Walk(const CString& dir, int recurse, WalkVisitor& visitor);

    // The stored directory's forms, made once as a walk starts with it:
    // everything below it only appends the names the listings gave.
    std::shared_ptr<CSearchRoot> RootOf(const CString& dir) const;

private:
    // Walks the folder at `place`; false when the visitor ended the walk.
    bool WalkFolder(WalkPlace& place, bool recurse, WalkVisitor& visitor);

    WalkFileSystem& m_fs;
};
