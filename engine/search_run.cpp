#include "engine/search_run.h"

#include "engine/paths.h"
#include "patterns/pattern_set.h"
#include "platform/mbcs.h"

bool IsPlainMask(const char* mask)
{
    // ":" and "/" have no trail-byte look-alikes; "\" is found by whole characters.
    for (const char* p = mask; *p; ++p) {
        if (*p == ':' || *p == '/')
            return false;
    }
    return MbsRChr(mask, '\\') == nullptr;
}

std::vector<StoredDirectory> StoredDirectories(const CPatternSet& set, const CString& startDir)
{
    std::vector<StoredDirectory> dirs;
    for (int i = 0; i < set.GetDirCount(); ++i) {
        const CString dir = set.GetDir(i);
        const bool usable = !dir.IsEmpty() && (IsAbsolutePath(dir) || !startDir.IsEmpty());
        dirs.push_back({dir, usable ? ResolveDirectory(dir, startDir) : CString(), set.GetDirFlag(i)});
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

// One folder of the tree as the first mask's walk found it: what the later
// masks need and nothing more.
struct CSearchRun::Folder {
    struct Kept {
        std::wstring exactName;
        bool isDirectory;
        std::uint64_t fileId;
        FileFacts facts;
    };
    CString name;
    std::wstring exactName;
    std::vector<Kept> kept;                           // the entries a later mask takes, in listing order
    std::vector<std::unique_ptr<Folder>> subfolders;  // those entered, in listing order
};

CSearchRun::CSearchRun(WalkFileSystem& fileSystem, WalkCaller& caller) : m_fs(fileSystem), m_caller(caller), m_walk(fileSystem) {}

CSearchRun::~CSearchRun() = default;

void CSearchRun::Run(const CPatternSet& set, const CString& startDir, const FileFilter* filter)
{
    m_bStop = m_bLimitReached = false;
    m_filter = filter && filter->Any() ? filter : nullptr;
    m_nLeftOut = 0;
    m_masks.clear();
    for (const CString& mask : SearchedMasks(set))
        m_masks.emplace_back(m_fs.ExactFormOf(mask));
    if (m_masks.empty())
        return;
    for (const StoredDirectory& dir : StoredDirectories(set, startDir)) {
        if (!dir.path.IsEmpty() && !SearchDirectory(dir))
            break;
    }
}

bool CSearchRun::SearchDirectory(const StoredDirectory& dir)
{
    m_lastEnterable.clear();
    m_top.reset();
    m_path.clear();
    m_walk.Walk(dir.path, dir.recurse, *this);
    // Only a stored directory that was listed is walked again, or entered.
    if (m_top) {
        for (size_t j = 1; j < m_masks.size() && !EndedEarly(); ++j)
            WalkKept(*m_top->folder, m_top->place, m_masks[j]);
        m_top.reset();
        // Left where a walk that entered each folder for each mask would be.
        if (!m_lastEnterable.empty())
            m_fs.EnterDirectory(m_lastEnterable);
    }
    return !EndedEarly();
}

void CSearchRun::Entered(const WalkPlace& place)
{
    // Only later masks come back to a folder: with one, nothing is kept.
    const bool keep = m_masks.size() > 1;
    if (!m_top) {
        m_top.reset(new Top{place, std::make_unique<Folder>()});
        m_path.push_back(m_top->folder.get());
    } else if (keep) {
        auto folder = std::make_unique<Folder>();
        folder->exactName = place.Name();
        folder->name = m_fs.SpellingOf(folder->exactName.c_str());
        m_path.push_back(folder.get());
        m_path[m_path.size() - 2]->subfolders.push_back(std::move(folder));
    }
    Reached(place);
}

bool CSearchRun::Entry(const WalkPlace& place, const WalkFileSystem::Entry& entry)
{
    if (m_masks[0].Takes(entry.exactName)) {
        if (!entry.isDirectory && !Found(place, entry.exactName, entry.fileId, entry.facts))
            return false;
        if (!Poll())
            return false;
    }
    for (size_t j = 1; j < m_masks.size(); ++j) {
        if (m_masks[j].Takes(entry.exactName)) {
            m_path.back()->kept.push_back({entry.exactName, entry.isDirectory, entry.fileId, entry.facts});
            break;
        }
    }
    return true;
}

void CSearchRun::Left(const WalkPlace& place)
{
    if (m_masks.size() > 1 || place.IsStoredDirectory())
        m_path.pop_back();
}

void CSearchRun::WalkKept(const Folder& folder, WalkPlace& place, const CFileMask& mask)
{
    Reached(place);
    for (const Folder::Kept& entry : folder.kept) {
        if (!mask.Takes(entry.exactName.c_str()))
            continue;
        if (!entry.isDirectory && !Found(place, entry.exactName.c_str(), entry.fileId, entry.facts))
            return;
        if (!Poll())
            return;
    }
    for (const auto& sub : folder.subfolders) {
        place.Push(sub->name, sub->exactName, 0, false);
        WalkKept(*sub, place, mask);
        place.Pop();
        if (EndedEarly())
            return;
    }
}

void CSearchRun::Reached(const WalkPlace& place)
{
    // The system keeps its own limits for a current directory.
    std::wstring plain = PlainFormOf(place.Verbatim());
    if (CanBeCurrentDirectory(plain))
        m_lastEnterable = std::move(plain);
    m_caller.DirectoryEntered(place.Text());
}

bool CSearchRun::Found(const WalkPlace& place, const wchar_t* exactName, std::uint64_t fileId, const FileFacts& facts)
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
    m_caller.FileFound(JoinPath(place.Text(), m_fs.SpellingOf(exactName)), place.Found(exactName, fileId, facts));
    return true;
}

bool CSearchRun::Poll()
{
    m_bStop = m_caller.StopNow();
    return !m_bStop;
}
