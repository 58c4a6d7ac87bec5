// Test helpers for real files: a fresh temporary directory made current for
// the test's lifetime, and whole-file reads and writes.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<unsigned char>;

class TempDir {
public:
    // Creates a new directory under the system's temporary folder and, when
    // `enter` is true, makes it the current directory until destruction.
    explicit TempDir(bool enter = true);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a name inside the directory, with the system's separator.
    std::string operator/(const std::string& name) const;

private:
    std::string m_path;
    std::string m_previous;
    bool m_entered;
};

std::string Separator();
bool WriteFileBytes(const std::string& path, const Bytes& bytes);
bool ReadFileBytes(const std::string& path, Bytes& bytes);
bool FileExists(const std::string& path);
bool MakeDirectory(const std::string& path);
bool SetReadOnly(const std::string& path, bool readOnly);
// Removes a file or a whole tree.
void RemoveTree(const std::string& path);
std::string CurrentDirectory();
// Wine's Recycle Bin as a Windows path (Z:\...\Trash) when XDG_DATA_HOME names
// the test environment's own folder; empty without it, and the tests that
// delete into the bin then stay away from the user's.
std::string TrashFolder();
bool ChangeDirectory(const std::string& path);

}  // namespace testing_support
