#include "tests/support/temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testing_support {

std::string Separator()
{
#ifdef _WIN32
    return "\\";
#else
    return "/";
#endif
}

std::string CurrentDirectory()
{
    char buf[4096];
#ifdef _WIN32
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n && n < sizeof buf ? std::string(buf) : std::string();
#else
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
#endif
}

std::string TrashFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!data || !*data)
        return std::string();
    std::string path = std::string("Z:") + data + "/Trash";
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

bool ChangeDirectory(const std::string& path)
{
#ifdef _WIN32
    return SetCurrentDirectoryA(path.c_str()) != 0;
#else
    return chdir(path.c_str()) == 0;
#endif
}

TempDir::TempDir(bool enter) : m_entered(enter)
{
#ifdef _WIN32
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        wsprintfA(name, "%stm%lu_%u", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            m_path = name;
            break;
        }
    }
#else
    char name[] = "/tmp/tidymoth-test.XXXXXX";
    m_path = mkdtemp(name);
#endif
    if (m_entered) {
        m_previous = CurrentDirectory();
        ChangeDirectory(m_path);
    }
}

TempDir::~TempDir()
{
    if (m_entered)
        ChangeDirectory(m_previous);
    RemoveTree(m_path);
}

std::string TempDir::operator/(const std::string& name) const
{
    return m_path + Separator() + name;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    size_t n = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
    return std::fclose(f) == 0 && n == bytes.size();
}

bool ReadFileBytes(const std::string& path, Bytes& bytes)
{
    bytes.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    unsigned char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return true;
}

bool FileExists(const std::string& path)
{
#ifdef _WIN32
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
#endif
}

bool MakeDirectory(const std::string& path)
{
#ifdef _WIN32
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
    return mkdir(path.c_str(), 0755) == 0;
#endif
}

bool SetReadOnly(const std::string& path, bool readOnly)
{
#ifdef _WIN32
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesA(path.c_str(), a) != 0;
#else
    return chmod(path.c_str(), readOnly ? 0444 : 0644) == 0;
#endif
}

void RemoveTree(const std::string& path)
{
#ifdef _WIN32
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return;
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (std::strcmp(fd.cFileName, ".") && std::strcmp(fd.cFileName, ".."))
                    RemoveTree(path + "\\" + fd.cFileName);
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(path.c_str());
    } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str()))
            RemoveDirectoryA(path.c_str());
    }
#else
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d)) {
                if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
                    RemoveTree(path + "/" + e->d_name);
            }
            closedir(d);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
#endif
}

}  // namespace testing_support
