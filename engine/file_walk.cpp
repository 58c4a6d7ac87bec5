#include "engine/file_walk.h"

#include <cwchar>

#include "engine/paths.h"

namespace {

bool IsDotOrDotDot(const wchar_t* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

}  // namespace

bool IsOrdinaryFolderReparseTag(std::uint32_t tag)
{
    // Name surrogates (symbolic links, junctions, mount points) lead elsewhere.
    if (tag & 0x20000000u)
        return false;
    // The cloud files' placeholders, in all their sixteen forms.
    if ((tag & 0xFFFF0FFFu) == 0x9000001Au)
        return true;
    switch (tag) {
    case 0xC0000004u:  // hierarchical storage
    case 0x80000006u:  // hierarchical storage, second form
    case 0x80000007u:  // single-instance storage
    case 0x80000008u:  // a mounted image's files
    case 0x80000009u:  // cluster shared volumes
    case 0x80000012u:  // replicated folders
    case 0x80000013u:  // deduplicated data
    case 0x80000015u:  // placeholders
    case 0x80000017u:  // compressed by the overlay filter
    case 0x80000018u:  // container isolation
    case 0x90001018u:  // container isolation, second form
    case 0x9000001Cu:  // projected file systems
    case 0x8000001Eu:  // synced file shares
    case 0x80000021u:  // the cloud drive's own folders
        return true;
    default:
        return false;
    }
}

// One folder of the tree as the first mask's walk found it: what the later
// masks need and nothing more.
struct CFileWalk::Folder {
    struct Kept {
        std::wstring exactName;
        bool isDirectory;
        std::uint64_t fileId;
        FileFacts facts;
    };
    CString name;
    std::wstring exactName;
    bool entered = false;
    std::vector<Kept> kept;          // the entries a later mask takes, in listing order
    std::vector<Folder> subfolders;  // the subfolders to walk, in listing order
};

// Where the walk is, twice over: as the code page spells it (the text the
// user sees), and as the names below the stored directory exactly as the
// listings gave them, from which every other form is made. A subfolder is
// left by going back to the lengths before it, so the two always agree and
// no cut can fall inside a name.
class CFileWalk::Place {
public:
    explicit Place(const CString& dir) : m_text(dir) {}
    const CString& Text() const { return m_text; }
    const std::wstring& Below() const { return m_below; }

    void Push(const CString& name, const std::wstring& exactName)
    {
        m_marks.push_back({m_text.GetLength(), m_below.size()});
        m_text = JoinPath(m_text, name);
        m_below = JoinExactPath(m_below, exactName);
    }
    void Pop()
    {
        const Mark& mark = m_marks.back();
        m_text.Truncate(mark.text);
        m_below.resize(mark.below);
        m_marks.pop_back();
    }

private:
    struct Mark {
        int text;
        size_t below;
    };
    CString m_text;
    std::wstring m_below;
    std::vector<Mark> m_marks;
};

bool CFileWalk::Walk(const CString& dir, const std::vector<CString>& masks, int recurse)
{
    if (MustEnd())
        return false;
    if (masks.empty())
        return true;
    std::vector<CFileMask> compiled;
    for (const CString& mask : masks)
        compiled.emplace_back(m_fs.ExactFormOf(mask));

    // The stored directory's forms are made once, as the walk starts with it;
    // everything below it only appends the names the listings gave.
    auto root = std::make_shared<CSearchRoot>();
    root->shown = m_fs.ExactFormOf(dir);
    root->verbatim = VerbatimDirectory(root->shown);
    if (root->verbatim.empty())
        return true;
    root->reported = m_fs.ReportedNameOf(root->verbatim);
    m_root = root;

    Place place(dir);
    Folder top;
    m_lastEnterable.clear();
    if (ListFolder(top, place, compiled, recurse)) {
        for (size_t j = 1; j < compiled.size() && !MustEnd(); ++j)
            WalkKept(top, place, compiled[j]);
        // Left where a walk that entered each folder for each mask would be.
        if (!m_lastEnterable.empty())
            m_fs.EnterDirectory(m_lastEnterable);
    }
    m_root.reset();
    return !MustEnd();
}

bool CFileWalk::ListFolder(Folder& folder, Place& place, const std::vector<CFileMask>& masks, int recurse)
{
    const std::wstring verbatim = JoinExactPath(m_root->verbatim, place.Below());
    std::unique_ptr<WalkFileSystem::Listing> listing = m_fs.List(verbatim);
    if (!listing)
        return false;
    folder.entered = true;
    Entered(place, verbatim);

    WalkFileSystem::Entry entry;
    while (listing->Next(entry)) {
        if (entry.isDirectory && recurse == 1 && !IsDotOrDotDot(entry.exactName) &&
            (!entry.isReparsePoint || IsOrdinaryFolderReparseTag(entry.reparseTag)))
            folder.subfolders.push_back({m_fs.SpellingOf(entry.exactName), entry.exactName, false, {}, {}});
        if (masks[0].Takes(entry.exactName)) {
            if (!entry.isDirectory && !Found(place, entry.exactName, entry.fileId, entry.facts))
                return true;
            if (!Poll())
                return true;
        }
        for (size_t j = 1; j < masks.size(); ++j) {
            if (masks[j].Takes(entry.exactName)) {
                folder.kept.push_back({entry.exactName, entry.isDirectory, entry.fileId, entry.facts});
                break;
            }
        }
    }
    listing.reset();

    for (Folder& sub : folder.subfolders) {
        place.Push(sub.name, sub.exactName);
        ListFolder(sub, place, masks, 1);
        place.Pop();
        if (MustEnd())
            break;
        // Only later masks come back to a folder.
        if (masks.size() == 1)
            sub = Folder();
    }
    return true;
}

void CFileWalk::WalkKept(const Folder& folder, Place& place, const CFileMask& mask)
{
    Entered(place, JoinExactPath(m_root->verbatim, place.Below()));
    for (const Folder::Kept& entry : folder.kept) {
        if (!mask.Takes(entry.exactName.c_str()))
            continue;
        if (!entry.isDirectory && !Found(place, entry.exactName.c_str(), entry.fileId, entry.facts))
            return;
        if (!Poll())
            return;
    }
    for (const Folder& sub : folder.subfolders) {
        if (!sub.entered)
            continue;
        place.Push(sub.name, sub.exactName);
        WalkKept(sub, place, mask);
        place.Pop();
        if (MustEnd())
            return;
    }
}

void CFileWalk::Entered(const Place& place, const std::wstring& verbatim)
{
    // The system keeps its own limits for a current directory.
    std::wstring plain = PlainFormOf(verbatim);
    if (CanBeCurrentDirectory(plain))
        m_lastEnterable = std::move(plain);
    m_caller.DirectoryEntered(place.Text());
}

bool CFileWalk::Found(const Place& place, const wchar_t* exactName, std::uint64_t fileId, const FileFacts& facts)
{
    // Left out before the limit: such a file takes no place in the result set.
    if (m_filter && !m_filter->Takes(facts)) {
        ++m_nLeftOut;
        return true;
    }
    if (m_caller.ResultCount() >= MAX_RESULTS) {
        // The result set is full: the walk ends here, and what was found is listed.
        m_bLimitReached = true;
        return false;
    }
    m_caller.FileFound(JoinPath(place.Text(), m_fs.SpellingOf(exactName)),
                       CFoundFile(m_root, JoinExactPath(place.Below(), exactName), fileId, facts));
    return true;
}

bool CFileWalk::Poll()
{
    m_bStop = m_caller.StopNow();
    return !m_bStop;
}
