// The walk of one directory for one mask: the directory's own matches in the
// order the file system lists them, then each subdirectory's, depth first.
// It knows nothing of windows: it reads the file system and reports to its
// caller through the two interfaces below.
#pragma once

#include <functional>
#include <string>

#include "platform/cstring.h"

// What the walk needs of the file system.
class WalkFileSystem {
public:
    struct Entry {
        const char* name;          // as the code page spells it, perhaps a look-alike
        const wchar_t* exactName;  // as the file system spells it
        bool isDirectory;
        bool isReparsePoint;  // a junction or a symbolic link
    };
    // Returns true to go on with the next entry, false to close the listing.
    using Visitor = std::function<bool(const Entry&)>;

    virtual ~WalkFileSystem() = default;
    // The exact form of a stored directory or mask.
    virtual std::wstring ExactFormOf(const CString& text) const = 0;
    // Makes `exactDir` the directory that Enumerate lists (and the process's
    // current directory); false when it cannot be entered.
    virtual bool EnterDirectory(const std::wstring& exactDir) = 0;
    // Lists the entries of the directory entered last whose names match
    // `pattern` ("*" and "?"), in the system's order. A listing goes on over
    // the directory it was opened in even when `visit` enters others.
    virtual void Enumerate(const std::wstring& pattern, const Visitor& visit) = 0;
};

// What the walk tells its caller and asks of it.
class WalkCaller {
public:
    virtual ~WalkCaller() = default;
    // A directory was entered, before anything of it is listed.
    virtual void DirectoryEntered(const CString& dir) = 0;
    // The results stored so far; the walk stores no more than MAX_RESULTS.
    virtual int ResultCount() const = 0;
    // A file was found: store it as the next result, with its path as the
    // code page spells it and as the file system does.
    virtual void FileFound(const CString& path, const std::wstring& exactPath) = 0;
    // Called after every entry of a mask listing: true when the walk must end.
    virtual bool StopNow() = 0;
};

class CFileWalk {
public:
    CFileWalk(WalkFileSystem& fileSystem, WalkCaller& caller) : m_fs(fileSystem), m_caller(caller) {}

    // Walks `dir` for `mask`, and its subdirectories when `recurse` is 1.
    // Returns false once the walk must end: the caller said stop, or the
    // result set is full.
    bool Walk(CString dir, const CString& mask, int recurse);
    // A new search: no stop, no full result set.
    void Reset() { m_bStop = m_bLimitReached = false; }
    // The walk ended at a match that found the result set full.
    bool LimitReached() const { return m_bLimitReached; }
    bool MustEnd() const { return m_bStop || m_bLimitReached; }

private:
    bool WalkExact(CString dir, std::wstring exactDir, const std::wstring& exactMask, int recurse);

    WalkFileSystem& m_fs;
    WalkCaller& m_caller;
    bool m_bStop = false;
    bool m_bLimitReached = false;
};
