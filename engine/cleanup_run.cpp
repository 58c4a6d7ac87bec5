#include "engine/cleanup_run.h"

#include <algorithm>

#include "engine/paths.h"

bool FindVolumeWipe(WalkFileSystem& fileSystem, const std::vector<StoredDirectory>& dirs, const std::vector<CString>& masks,
                    std::wstring& dir, std::wstring& mask)
{
    for (const StoredDirectory& stored : dirs) {
        if (stored.path.IsEmpty() || stored.recurse != 1)
            continue;
        const std::wstring path = fileSystem.ExactFormOf(stored.path);
        const std::wstring verbatim = VerbatimDirectory(path);
        const bool mountPoint = !verbatim.empty() && fileSystem.IsVolumeMountPoint(verbatim);
        for (const CString& m : masks) {
            const std::wstring exactMask = fileSystem.ExactFormOf(m);
            if (EmptiesVolume(path, mountPoint, stored.recurse, exactMask)) {
                dir = path;
                mask = exactMask;
                return true;
            }
        }
    }
    return false;
}

void CCleanupRun::Run(const std::vector<StoredDirectory>& dirs, const CleanupSettings& settings)
{
    m_settings = &settings;
    m_counts = CleanupCounts();
    m_regions.clear();
    m_masks.clear();
    for (const CString& mask : settings.masks)
        m_masks.emplace_back(m_fs.ExactFormOf(mask));
    if (m_masks.empty())
        return;
    for (const StoredDirectory& dir : dirs) {
        if (dir.path.IsEmpty()) {
            // An empty entry, or a relative one with nothing to take it from.
            ++m_counts.unreadFolders;
            m_reporter.FolderUnread(m_fs.ExactFormOf(dir.stored), WALK_ERROR_BAD_PATHNAME, false);
            continue;
        }
        m_recurse = dir.recurse;
        m_path.clear();
        m_rootReported.clear();
        if (!m_walk.Walk(dir.path, dir.recurse, *this))
            break;
        if (!m_rootReported.empty())
            m_regions.push_back({m_rootReported, dir.recurse == 1});
    }
}

std::wstring CCleanupRun::ReportedPathOf(const WalkPlace& place)
{
    const ReportedName& root = place.Root().reported;
    const std::wstring& name = !root.finalPath.empty() ? root.finalPath : root.onVolume;
    return name.empty() ? std::wstring() : JoinExactPath(name, place.Below());
}

bool CCleanupRun::Covered(const std::wstring& reported, bool whole) const
{
    if (reported.empty())
        return false;
    for (const Region& region : m_regions) {
        const std::wstring& r = region.reported;
        if (reported == r && (region.recurse || !whole))
            return true;
        // Below a directory walked with its subfolders.
        if (region.recurse && reported.size() > r.size() && reported.compare(0, r.size(), r) == 0 &&
            (r.back() == L'\\' || reported[r.size()] == L'\\'))
            return true;
    }
    return false;
}

bool CCleanupRun::WalksInto(const WalkPlace& place)
{
    const CExclusions& exclusions = m_settings->exclusions;
    if (place.IsStoredDirectory()) {
        if (!place.Root().verbatim.empty() && exclusions.ExcludesStoredDirectory(place.Root().verbatim)) {
            ++m_counts.excludedFolders;
            m_reporter.DirectoryExcluded(place.Root().shown);
            return false;
        }
        // Walked already, whole: nothing of it is taken twice.
        const std::wstring reported = ReportedPathOf(place);
        if (Covered(reported, m_recurse == 1))
            return false;
        m_rootReported = reported;
        return true;
    }
    if (exclusions.ExcludesFolder(place.Name(), place.Verbatim())) {
        ++m_counts.excludedFolders;
        return false;
    }
    return m_regions.empty() || !Covered(ReportedPathOf(place), true);
}

void CCleanupRun::Unreadable(const WalkPlace& place, std::uint32_t error)
{
    ++m_counts.unreadFolders;
    m_reporter.FolderUnread(place.Self().Shown(), error, false);
}

void CCleanupRun::Entered(const WalkPlace& place)
{
    Folder folder;
    folder.filesCovered = !m_regions.empty() && Covered(ReportedPathOf(place), false);
    m_path.push_back(folder);
    m_taken.clear();
    ++m_counts.folders;
    m_reporter.FolderEntered(place, m_counts);
}

bool CCleanupRun::Entry(const WalkPlace&, const WalkFileSystem::Entry& entry)
{
    if (IsDotOrDotDot(entry.exactName))
        return true;
    Folder& folder = m_path.back();
    ++folder.entries;
    if (entry.isDirectory || folder.filesCovered)
        return true;
    if (std::none_of(m_masks.begin(), m_masks.end(), [&](const CFileMask& mask) { return mask.Takes(entry.exactName); }))
        return true;
    if (m_settings->exclusions.ExcludesFile(entry.exactName)) {
        ++m_counts.excludedFiles;
    } else if (m_settings->filter && !m_settings->filter->Takes(entry.facts)) {
        ++m_counts.leftOut;
    } else {
        m_taken.push_back({entry.exactName, entry.fileId, entry.facts});
    }
    return true;
}

bool CCleanupRun::Listed(const WalkPlace& place, std::uint32_t error)
{
    Folder& folder = m_path.back();
    if (error != 0) {
        // What was listed before the failure is still handled.
        folder.failed = true;
        ++m_counts.unreadFolders;
        m_reporter.FolderUnread(place.Self().Shown(), error, true);
    }
    for (const Taken& taken : m_taken) {
        if (m_reporter.StopNow()) {
            m_counts.stopped = true;
            return false;
        }
        if (m_settings->maxFiles != 0 && m_counts.taken >= m_settings->maxFiles) {
            m_counts.ceilingReached = true;
            return false;
        }
        const CFoundFile file = place.Found(taken.exactName.c_str(), taken.fileId, taken.facts);
        ++m_counts.taken;
        m_counts.takenBytes += taken.facts.size;
        if (!m_actions) {
            m_reporter.FileTaken(file, nullptr);
            continue;
        }
        const DeleteOutcome outcome = m_actions->DeleteListedFile(file);
        if (outcome.Deleted()) {
            ++m_counts.deleted;
            m_counts.deletedBytes += taken.facts.size;
            ++folder.gone;
        } else {
            ++m_counts.failed;
        }
        m_reporter.FileTaken(file, &outcome);
    }
    m_taken.clear();
    if (m_reporter.StopNow()) {
        m_counts.stopped = true;
        return false;
    }
    return true;
}

void CCleanupRun::Left(const WalkPlace& place)
{
    const Folder folder = m_path.back();
    m_path.pop_back();
    // Only a folder this run emptied: it held something, all of it is gone,
    // and its listing was whole. Never a stored directory, nor a reparse
    // point or anything behind one.
    if (!m_actions || !m_settings->removeEmptyFolders || place.IsStoredDirectory() || place.BehindReparsePoint() ||
        folder.failed || folder.entries == 0 || folder.gone != folder.entries)
        return;
    const CFoundFile self = place.Self();
    const DeleteOutcome outcome = m_actions->RemoveEmptiedFolder(self);
    if (outcome.Deleted()) {
        ++m_counts.foldersRemoved;
        ++m_path.back().gone;
    } else {
        ++m_counts.foldersKept;
    }
    m_reporter.FolderRemoved(self, outcome);
}
