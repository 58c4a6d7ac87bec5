// Wine's Recycle Bin made unusable while it lives: its files folder replaced
// by a plain file, so nothing can be moved into it. The bin must have been
// used once (it is set up on first use).
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace testing_support {

class BrokenTrash {
public:
    BrokenTrash() : m_files(TrashFolder() + "\\files")
    {
        m_ok = ::MoveFileA(m_files.c_str(), (m_files + ".away").c_str()) && WriteFileBytes(m_files, Bytes{'x'});
    }
    ~BrokenTrash()
    {
        ::DeleteFileA(m_files.c_str());
        ::MoveFileA((m_files + ".away").c_str(), m_files.c_str());
    }
    BrokenTrash(const BrokenTrash&) = delete;
    BrokenTrash& operator=(const BrokenTrash&) = delete;
    bool Ok() const { return m_ok; }

private:
    std::string m_files;
    bool m_ok = false;
};

}  // namespace testing_support
