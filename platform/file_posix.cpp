#include "platform/file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int CauseOf(long error)
{
    switch (error) {
    case ENOENT:
        return CFileException::fileNotFound;
    case ENAMETOOLONG:
    case ENOTDIR:
        return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CFileException::accessDenied;
    case ENOSPC:
        return CFileException::diskFull;
    default:
        return CFileException::generic;
    }
}

int Fd(intptr_t h)
{
    return static_cast<int>(h);
}

}  // namespace

CFileException CFile::ErrorFor(long osError, const char* path)
{
    return CFileException(CauseOf(osError), osError, path);
}

void ThrowLastFileError(const char* path)
{
    throw CFile::ErrorFor(errno, path);
}

CString CFileException::GetErrorMessage() const
{
    CString text = m_strFileName;
    text += "\n";
    text += std::strerror(static_cast<int>(m_lOsError));
    return text;
}

CFile::CFile(const char* path, unsigned flags) : m_strPath(path)
{
    int mode = (flags & modeWrite) ? O_WRONLY : O_RDONLY;
    if (flags & modeCreate)
        mode |= O_CREAT | O_TRUNC;
    int fd = ::open(path, mode | O_CLOEXEC, 0644);
    if (fd < 0)
        ThrowLastFileError(path);
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        ThrowLastFileError(path);
    }
    m_hFile = fd;
}

CFile::~CFile()
{
    if (m_hFile != -1)
        ::close(Fd(m_hFile));
}

void CFile::Throw() const
{
    ThrowLastFileError(m_strPath);
}

unsigned CFile::Read(void* buffer, unsigned count)
{
    unsigned total = 0;
    while (total < count) {
        ssize_t n = ::read(Fd(m_hFile), static_cast<char*>(buffer) + total, count - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Throw();
        }
        if (n == 0)
            break;
        total += static_cast<unsigned>(n);
    }
    return total;
}

void CFile::Write(const void* buffer, unsigned count)
{
    unsigned total = 0;
    while (total < count) {
        ssize_t n = ::write(Fd(m_hFile), static_cast<const char*>(buffer) + total, count - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Throw();
        }
        if (n == 0) {
            errno = ENOSPC;
            Throw();
        }
        total += static_cast<unsigned>(n);
    }
}

void CFile::Flush()
{
    if (::fsync(Fd(m_hFile)) != 0 && errno != EINVAL)
        Throw();
}

std::uint64_t CFile::GetLength() const
{
    struct stat st;
    if (::fstat(Fd(m_hFile), &st) != 0)
        Throw();
    return static_cast<std::uint64_t>(st.st_size);
}

void CFile::Close()
{
    if (m_hFile == -1)
        return;
    int fd = Fd(m_hFile);
    m_hFile = -1;
    if (::close(fd) != 0)
        Throw();
}
