#include "engine/file_walk.h"

#include <cwchar>

#include "engine/paths.h"

bool IsDotOrDotDot(const wchar_t* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

namespace {

// A subfolder of the folder being listed, kept until the walk comes to it.
struct Subfolder {
    CString name;
    std::wstring exactName;
    std::uint64_t fileId;
    bool reparsePoint;
};

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

// ---- WalkPlace ----------------------------------------------------------------

std::wstring WalkPlace::Name() const
{
    if (m_levels.empty())
        return std::wstring();
    const size_t start = m_levels.back().below;
    return m_below.substr(start == 0 ? 0 : start + 1);
}

std::wstring WalkPlace::Verbatim() const
{
    return JoinExactPath(m_root->verbatim, m_below);
}

bool WalkPlace::BehindReparsePoint() const
{
    for (const Level& level : m_levels) {
        if (level.reparsePoint)
            return true;
    }
    return false;
}

CFoundFile WalkPlace::Found(const wchar_t* exactName, std::uint64_t fileId, const FileFacts& facts) const
{
    return CFoundFile(m_root, JoinExactPath(m_below, exactName), fileId, facts);
}

CFoundFile WalkPlace::Self() const
{
    return CFoundFile(m_root, m_below, m_levels.empty() ? 0 : m_levels.back().fileId);
}

void WalkPlace::Push(const CString& name, const std::wstring& exactName, std::uint64_t fileId, bool reparsePoint)
{
    m_levels.push_back({m_text.GetLength(), m_below.size(), fileId, reparsePoint});
    m_text = JoinPath(m_text, name);
    m_below = JoinExactPath(m_below, exactName);
}

void WalkPlace::Pop()
{
    const Level& level = m_levels.back();
    m_text.Truncate(level.text);
    m_below.resize(level.below);
    m_levels.pop_back();
}

// ---- CFileWalk ----------------------------------------------------------------

std::shared_ptr<CSearchRoot> CFileWalk::RootOf(const CString& dir) const
{
    auto root = std::make_shared<CSearchRoot>();
    root->shown = m_fs.ExactFormOf(dir);
    root->verbatim = VerbatimDirectory(root->shown);
    if (!root->verbatim.empty())
        root->reported = m_fs.ReportedNameOf(root->verbatim);
    return root;
}

bool CFileWalk::Walk(const CString& dir, int recurse, WalkVisitor& visitor)
{
    WalkPlace place(RootOf(dir), dir);
    if (!visitor.WalksInto(place))
        return true;
    if (place.Root().verbatim.empty()) {
        // Not absolute, or no root to stand on ("\\server" alone).
        visitor.Unreadable(place, WALK_ERROR_BAD_PATHNAME);
        return true;
    }
    return WalkFolder(place, recurse == 1, visitor);
}

bool CFileWalk::WalkFolder(WalkPlace& place, bool recurse, WalkVisitor& visitor)
{
    std::vector<Subfolder> subfolders;
    {
        std::uint32_t error = 0;
        std::unique_ptr<WalkFileSystem::Listing> listing = m_fs.List(place.Verbatim(), error);
        if (!listing) {
            visitor.Unreadable(place, error);
            return true;
        }
        visitor.Entered(place);
        WalkFileSystem::Entry entry;
        while (listing->Next(entry)) {
            if (entry.isDirectory && recurse && !IsDotOrDotDot(entry.exactName) &&
                (!entry.isReparsePoint || IsOrdinaryFolderReparseTag(entry.reparseTag))) {
                Subfolder sub{m_fs.SpellingOf(entry.exactName), entry.exactName, entry.fileId, entry.isReparsePoint};
                place.Push(sub.name, sub.exactName, sub.fileId, sub.reparsePoint);
                const bool walked = visitor.WalksInto(place);
                place.Pop();
                if (walked)
                    subfolders.push_back(std::move(sub));
            }
            if (!visitor.Entry(place, entry))
                return false;
        }
        // The folder is let go before its subfolders are listed.
        error = listing->Error();
        listing.reset();
        if (!visitor.Listed(place, error))
            return false;
    }
    for (Subfolder& sub : subfolders) {
        place.Push(sub.name, sub.exactName, sub.fileId, sub.reparsePoint);
        const bool go = WalkFolder(place, true, visitor);
        place.Pop();
        if (!go)
            return false;
        sub = Subfolder();
    }
    visitor.Left(place);
    return true;
}
