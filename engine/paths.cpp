#include "engine/paths.h"

#include <vector>

#include "platform/mbcs.h"
#include "platform/system.h"

namespace {

// MAX_PATH, the limit of the calls that take only a plain path.
const size_t PLAIN_PATH_LIMIT = 260;

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsDotOrSpace(wchar_t c)
{
    return c == L'.' || c == L' ';
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

// The end of the component that starts at `from` (a separator or the end).
size_t ComponentEnd(const std::wstring& path, size_t from)
{
    size_t end = path.find(L'\\', from);
    return end == std::wstring::npos ? path.size() : end;
}

// Where the names below a path's root begin: after "\\?\C:\", "\\?\UNC\server\share\",
// "\\?\Volume{...}\", "\\server\share\" or "C:\"; the whole length when the
// path is only its root, or has none.
size_t NamesStart(const std::wstring& path)
{
    size_t at = 0;
    int components = 0;  // those that make up the root after its prefix
    if (StartsWith(path, L"\\\\?\\UNC\\")) {
        at = 8;
        components = 2;
    } else if (StartsWith(path, L"\\\\?\\")) {
        at = 4;
        components = 1;
    } else if (StartsWith(path, L"\\\\")) {
        at = 2;
        components = 2;
    } else {
        components = 1;
    }
    for (int i = 0; i < components && at < path.size(); ++i) {
        at = ComponentEnd(path, at);
        if (at < path.size())
            ++at;
    }
    return at;
}

// Calls `visit` with each name below the root (its first character and its
// length), empty ones left out, until it returns true; true when one did.
template <typename Visit>
bool AnyName(const std::wstring& path, size_t from, Visit visit)
{
    while (from < path.size()) {
        const size_t end = ComponentEnd(path, from);
        if (end > from && visit(path.data() + from, end - from))
            return true;
        from = end + 1;
    }
    return false;
}

bool EndsInDotOrSpace(const wchar_t* name, size_t length)
{
    return IsDotOrSpace(name[length - 1]);
}

size_t WithoutClosingDotsAndSpaces(const wchar_t* name, size_t length)
{
    while (length > 0 && IsDotOrSpace(name[length - 1]))
        --length;
    return length;
}

wchar_t Upper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// A name the system takes for a device: CON, PRN, AUX, NUL, COM0-9 and
// LPT0-9 (with ¹, ² and ³ too), CONIN$, CONOUT$, whatever follows its first
// dot or colon, and with the spaces before that dropped.
bool IsDeviceName(const wchar_t* name, size_t length)
{
    size_t end = 0;
    while (end < length && name[end] != L'.' && name[end] != L':')
        ++end;
    while (end > 0 && name[end - 1] == L' ')
        --end;
    if (end < 3 || end > 7)
        return false;
    wchar_t base[8] = {};
    for (size_t i = 0; i < end; ++i)
        base[i] = Upper(name[i]);
    const std::wstring text(base, end);
    if (text == L"CON" || text == L"PRN" || text == L"AUX" || text == L"NUL" || text == L"CONIN$" || text == L"CONOUT$")
        return true;
    if (end != 4 || (text.compare(0, 3, L"COM") != 0 && text.compare(0, 3, L"LPT") != 0))
        return false;
    const wchar_t digit = text[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

PlainPathFault NameFault(const std::wstring& plainPath)
{
    PlainPathFault fault = PlainPathFault::None;
    AnyName(plainPath, NamesStart(plainPath), [&](const wchar_t* name, size_t length) {
        if (EndsInDotOrSpace(name, length))
            fault = PlainPathFault::NameEndsInDotOrSpace;
        else if (IsDeviceName(name, length))
            fault = PlainPathFault::DeviceName;
        return fault != PlainPathFault::None;
    });
    return fault;
}

// The share a UNC path is on ("\\server\share"), by whole characters.
CString ShareOf(const CString& path)
{
    CString share = path, rest = path;
    for (;;) {
        const char* last = MbsRChr(rest, '\\');
        if (!last || last - static_cast<const char*>(rest) <= 1)
            return share;
        share = rest;
        rest.Truncate(static_cast<int>(last - static_cast<const char*>(rest)));
    }
}

}  // namespace

CString StartUpDirectory()
{
    char dir[PLAIN_PATH_LIMIT + 1];
    return platform::GetCurrentDir(dir, sizeof dir) ? CString(dir) : CString();
}

CString JoinPath(const CString& dir, const char* name)
{
    CString path = dir;
    if (!EndsWithSeparator(path))
        path += "\\";
    path += name;
    return path;
}

bool IsAbsolutePath(const char* path)
{
    const auto sep = [](char c) { return c == '\\' || c == '/'; };
    if (sep(path[0]) && sep(path[1]))
        return true;
    return IsAsciiLetter(static_cast<unsigned char>(path[0])) && path[1] == ':' && sep(path[2]);
}

CString ResolveDirectory(const CString& dir, const CString& base)
{
    if (IsAbsolutePath(dir))
        return dir;
    const char* text = dir;
    if (text[0] == '\\' || text[0] == '/') {
        // The root of the base's drive or share.
        if (IsAbsolutePath(base) && base.GetAt(1) == ':')
            return base.Left(2) + dir;
        return IsAbsolutePath(base) ? ShareOf(base) + dir : CString();
    }
    if (IsAsciiLetter(static_cast<unsigned char>(text[0])) && text[1] == ':') {
        // "C:DATA": relative to that drive's root, the only directory we know on it.
        CString path = dir.Left(2) + "\\";
        path += text + 2;
        return path;
    }
    return JoinPath(base, text);
}

std::wstring FolderOfFile(const std::wstring& fullPath)
{
    const size_t name = fullPath.find_last_of(L'\\');
    if (name == std::wstring::npos || name + 1 == fullPath.size())
        return std::wstring();
    return fullPath.substr(0, name + 1);
}

size_t RootLengthOf(const std::wstring& path)
{
    return NamesStart(path);
}

std::wstring JoinExactPath(const std::wstring& dir, const std::wstring& name)
{
    if (name.empty())
        return dir;
    std::wstring path;
    path.reserve(dir.size() + 1 + name.size());
    path = dir;
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    path += name;
    return path;
}

std::wstring VerbatimDirectory(const std::wstring& dir)
{
    if (StartsWith(dir, L"\\\\?\\")) {
        // Taken as it is: the system reads no "." or ".." in it either.
        std::wstring path = dir;
        const size_t root = NamesStart(path);
        while (path.size() > root && path.back() == L'\\')
            path.pop_back();
        return root > 4 ? path : std::wstring();
    }
    std::wstring rest = dir;
    for (wchar_t& c : rest) {
        if (c == L'/')
            c = L'\\';
    }
    if (StartsWith(rest, L"\\\\.\\"))
        rest.erase(0, 4);

    std::wstring root;
    size_t at = 0;
    if (rest.size() >= 3 && IsAsciiLetter(rest[0]) && rest[1] == L':' && rest[2] == L'\\') {
        root = L"\\\\?\\" + rest.substr(0, 3);
        at = 3;
    } else if (StartsWith(rest, L"\\\\")) {
        const size_t server = ComponentEnd(rest, 2);
        const size_t share = server < rest.size() ? ComponentEnd(rest, server + 1) : server;
        if (server == 2 || share == server + 1 || server == rest.size())
            return std::wstring();
        root = L"\\\\?\\UNC\\" + rest.substr(2, share - 2) + L"\\";
        at = share;
    } else {
        return std::wstring();
    }

    std::vector<std::wstring> names;
    AnyName(rest, at, [&](const wchar_t* text, size_t length) {
        const std::wstring name(text, length);
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
        } else if (name != L".") {
            names.push_back(name);
        }
        return false;
    });
    std::wstring path = root;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            path += L'\\';
        path += names[i];
    }
    return path;
}

std::wstring PlainFormOf(const std::wstring& verbatim)
{
    if (StartsWith(verbatim, L"\\\\?\\UNC\\"))
        return L"\\" + verbatim.substr(7);
    if (StartsWith(verbatim, L"\\\\?\\"))
        return verbatim.substr(4);
    return verbatim;
}

PlainPathFault RecycleBinFault(const std::wstring& plainPath)
{
    const PlainPathFault fault = NameFault(plainPath);
    if (fault != PlainPathFault::None)
        return fault;
    return plainPath.size() < PLAIN_PATH_LIMIT ? PlainPathFault::None : PlainPathFault::TooLong;
}

bool CanBeCurrentDirectory(const std::wstring& plainDir)
{
    size_t length = plainDir.size();
    if (length > 0 && plainDir.back() == L'\\')
        --length;
    return length > 0 && length <= PLAIN_PATH_LIMIT - 2 && NameFault(plainDir) == PlainPathFault::None;
}

bool HasNameEndingInDotOrSpace(const std::wstring& verbatim)
{
    return AnyName(verbatim, NamesStart(verbatim), EndsInDotOrSpace);
}

std::wstring NamesakeOf(const std::wstring& verbatim)
{
    const size_t root = NamesStart(verbatim);
    std::wstring path = verbatim.substr(0, root);
    bool first = true;
    AnyName(verbatim, root, [&](const wchar_t* name, size_t length) {
        if (!first)
            path += L'\\';
        path.append(name, WithoutClosingDotsAndSpaces(name, length));
        first = false;
        return false;
    });
    return path;
}

bool SameButForClosingDotsAndSpaces(const std::wstring& a, const std::wstring& b)
{
    size_t i = 0, j = 0;
    for (;;) {
        const size_t ia = ComponentEnd(a, i), jb = ComponentEnd(b, j);
        const size_t na = WithoutClosingDotsAndSpaces(a.data() + i, ia - i);
        const size_t nb = WithoutClosingDotsAndSpaces(b.data() + j, jb - j);
        if (na != nb || a.compare(i, na, b, j, nb) != 0)
            return false;
        if (ia == a.size() || jb == b.size())
            return ia == a.size() && jb == b.size();
        i = ia + 1;
        j = jb + 1;
    }
}
