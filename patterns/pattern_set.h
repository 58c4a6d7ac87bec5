// The deletion patterns: a name, file masks and search directories with a
// subfolder flag each, kept in fixed-capacity slots reserved once.
#pragma once

#include "platform/cstring.h"

const int MAX_PATTERNS = 20;
const int MAX_ENTRIES = 100;
const int SETTINGS_PATH_SIZE = 512;
extern const char DEFAULT_PATTERN_NAME[];  // "新しいパターン"
extern const char SETTINGS_FILE_NAME[];    // "\Tidymoth.use", appended to the start-up directory as it stands

class CFile;

class CDeletePattern {
public:
    CDeletePattern() = default;

    // The initial state: default name, every slot of all four arrays cleared.
    void Init();

    void SetName(const CString& name) { m_strName = name; }
    // The adds and removes return false, changing nothing, when the list is
    // full or the index names no entry.
    bool AddMask(const CString& mask, int flag);
    bool AddDir(const CString& dir, int flag);
    bool RemoveMask(int index);
    bool RemoveDir(int index);
    bool SetDirFlag(int index, int flag);

    CString GetName() const { return m_strName; }
    CString GetMask(int index) const { return IsMask(index) ? m_strMask[index] : CString(); }
    CString GetDir(int index) const { return IsDir(index) ? m_strDir[index] : CString(); }
    int GetDirFlag(int index) const { return IsDir(index) ? m_nDirFlag[index] : 0; }
    int GetMaskFlag(int index) const { return IsMask(index) ? m_nMaskFlag[index] : 0; }
    int GetMaskCount() const { return m_nMaskCount; }
    int GetDirCount() const { return m_nDirCount; }

    // Takes the entries in use, the name and the counts of `other` (closing
    // the gap after a deleted pattern).
    void TakeContentOf(const CDeletePattern& other);

private:
    bool IsMask(int index) const { return index >= 0 && index < m_nMaskCount && index < MAX_ENTRIES; }
    bool IsDir(int index) const { return index >= 0 && index < m_nDirCount && index < MAX_ENTRIES; }
    void NoteSlotsUsed(int count);

    CString m_strName;
    CString m_strMask[MAX_ENTRIES];
    CString m_strDir[MAX_ENTRIES];
    int m_nDirFlag[MAX_ENTRIES] = {};
    int m_nMaskFlag[MAX_ENTRIES] = {};
    int m_nMaskCount = 0;
    int m_nDirCount = 0;
    int m_nSlotsUsed = 0;  // slots of either list written since the last Init
};

// What the constructor's load found in the settings file.
enum class LoadOutcome {
    NoFile,      // no settings file (or none that could be opened): the initial pattern
    Whole,       // every pattern record was read
    Partial,     // some records were read; the rest of the file was damaged
    Unreadable,  // a file exists but nothing valid was read: the initial pattern
};

class CPatternSet {
public:
    // Fixes the settings path from the current directory, then loads the file.
    CPatternSet();
    // The initial pattern alone, with no settings file of its own: a set that
    // is read from a file given elsewhere (LoadFrom) and never saved.
    struct NoSettingsFile {};
    explicit CPatternSet(NoSettingsFile);
    CPatternSet(const CPatternSet&) = delete;
    CPatternSet& operator=(const CPatternSet&) = delete;

    void InitAll();
    // False, changing nothing, when the set is full.
    bool NewPattern();
    // False, changing nothing, for an index outside the set or the only pattern.
    bool DeletePattern(int index);
    bool SetCurrent(int index);
    int GetCount() const { return m_nCount; }
    int GetCurrentIndex() const { return m_nCurrent; }
    CString GetName(int index) const { return IsPattern(index) ? m_pattern[index].GetName() : CString(); }

    // Replaces the set with the settings file's content; never throws.
    LoadOutcome Load();
    // Replaces the set with what `file` holds, read field by field from its
    // start; never throws.
    LoadOutcome LoadFrom(CFile& file);
    // Writes the set to the settings file through a temporary file; the old
    // file stays intact on failure, which raises CFileException.
    void Save();
    // Writes the whole set to `file`.
    void SaveTo(CFile& file) const;

    LoadOutcome GetLoadOutcome() const { return m_loadOutcome; }
    const char* GetPath() const { return m_szPath; }

    // The current pattern.
    void SetName(const CString& name) { Current().SetName(name); }
    CString GetCurrentName() const { return Current().GetName(); }
    bool AddMask(const CString& mask, int flag) { return Current().AddMask(mask, flag); }
    bool AddDir(const CString& dir, int flag) { return Current().AddDir(dir, flag); }
    bool RemoveMask(int index) { return Current().RemoveMask(index); }
    bool RemoveDir(int index) { return Current().RemoveDir(index); }
    bool SetDirFlag(int index, int flag) { return Current().SetDirFlag(index, flag); }
    CString GetMask(int index) const { return Current().GetMask(index); }
    CString GetDir(int index) const { return Current().GetDir(index); }
    int GetDirFlag(int index) const { return Current().GetDirFlag(index); }
    int GetMaskCount() const { return Current().GetMaskCount(); }
    int GetDirCount() const { return Current().GetDirCount(); }

private:
    bool IsPattern(int index) const { return index >= 0 && index < m_nCount; }
    // The one initial pattern, current.
    void Clear();
    CDeletePattern& Current() { return m_pattern[m_nCurrent]; }
    const CDeletePattern& Current() const { return m_pattern[m_nCurrent]; }

    char m_szPath[SETTINGS_PATH_SIZE];
    CDeletePattern m_pattern[MAX_PATTERNS];
    int m_nCount = 1;
    int m_nCurrent = 0;
    LoadOutcome m_loadOutcome = LoadOutcome::NoFile;
};
