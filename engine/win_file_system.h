// The Windows file system under the walk: folders listed through their
// handles, with each entry's id. Every path it is given is a verbatim one
// (engine/paths.h), but the current directory's, which takes only a plain path.
#pragma once

#include <string>

#include "engine/file_walk.h"

class CWinFileSystem : public WalkFileSystem {
public:
    std::wstring ExactFormOf(const CString& text) const override;
    CString SpellingOf(const wchar_t* exactName) const override;
    std::unique_ptr<Listing> List(const std::wstring& verbatimDir, std::uint32_t& error) override;
    ReportedName ReportedNameOf(const std::wstring& verbatimDir) override;
    bool IsVolumeMountPoint(const std::wstring& verbatimDir) override;
    bool EnterDirectory(const std::wstring& plainDir) override;
    // A folder is at `verbatimDir`.
    static bool IsFolder(const std::wstring& verbatimDir);
};
