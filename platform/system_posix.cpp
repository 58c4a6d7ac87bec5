#include "platform/system.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool GetCurrentDir(char* buf, std::size_t size)
{
    return ::getcwd(buf, size) != nullptr;
}

bool GetFileReadOnly(const char* path, bool* readOnly)
{
    struct stat st;
    if (::stat(path, &st) != 0)
        return false;
    *readOnly = (st.st_mode & 0222) == 0;
    return true;
}

long ReplaceFileWith(const char* from, const char* to)
{
    return std::rename(from, to) == 0 ? 0 : errno;
}

bool RemoveFile(const char* path)
{
    return ::unlink(path) == 0;
}

long AccessDeniedError()
{
    return EACCES;
}
long NameTooLongError()
{
    return ENAMETOOLONG;
}

}  // namespace platform
