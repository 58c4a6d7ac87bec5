// The forms of a path, each made here and nowhere else:
// - the user's form: a stored directory as the pattern holds it (a relative
//   one taken from its base), then the names below it; what every line shows;
// - the verbatim form ("\\?\C:\DIR\NAME", "\\?\UNC\SERVER\SHARE\..."): made
//   once per stored directory, every listed name then appended exactly as the
//   listing gave it; every file-system call takes it, so that names ending in
//   a dot or a space, device names and paths beyond MAX_PATH stay exact;
// - the plain form: the verbatim one without its prefix, for the two calls
//   that take nothing else (the shell's file operation, the current
//   directory), and only where it still names the same file.
#pragma once

#include <cstddef>
#include <string>

#include "platform/cstring.h"

// ---- The user's form, in the code page --------------------------------------

// The directory the program started in, where its settings file lies and
// relative directories are taken from; empty where it is longer than MAX_PATH
// or the code page cannot spell it (it then holds no settings file).
CString StartUpDirectory();

// `dir`, a backslash unless `dir` already ends with one, then `name`.
CString JoinPath(const CString& dir, const char* name);

// True for "X:\...", "\\server\..." and "\\?\..." paths ("/" taken for "\").
bool IsAbsolutePath(const char* path);

// An absolute form of a stored directory: relative ones ("DATA", ".\DATA",
// "\DATA", "C:DATA") are taken relative to `base`, an absolute directory;
// "\DATA" is on the base's drive or share.
CString ResolveDirectory(const CString& dir, const CString& base);

// ---- Exact paths ------------------------------------------------------------

// The full form of `path`, taken from the current directory where it is
// relative; empty where the system gives none. (Windows only.)
std::wstring FullPathOf(const std::wstring& path);

// The folder of a file named by its full path, with its closing separator;
// empty where the path names no file in a folder.
std::wstring FolderOfFile(const std::wstring& fullPath);

// How long the root of a path is, up to where the names below it begin:
// "\\?\C:\", "\\?\UNC\server\share\", "\\server\share\", "C:\". A
// path that is only its root is a volume's root.
size_t RootLengthOf(const std::wstring& path);

// `dir`, "\" unless it is empty or ends with one, then `name`; `dir` alone
// for an empty `name`.
std::wstring JoinExactPath(const std::wstring& dir, const std::wstring& name);

// The verbatim form of an absolute directory: "C:\..." and "\\.\C:\..." as
// "\\?\C:\...", "\\server\share\..." as "\\?\UNC\server\share\...", with "/"
// read as "\" and "." and ".." taken away first (never above the root); one
// already verbatim as it is. Every other name is kept exactly, one ending in
// a dot or a space too. No closing separator but a root's. Empty for a path
// that is not absolute or has no root.
std::wstring VerbatimDirectory(const std::wstring& dir);

// The plain form of a verbatim path: "\\?\C:\X" is "C:\X",
// "\\?\UNC\server\share\X" is "\\server\share\X".
std::wstring PlainFormOf(const std::wstring& verbatim);

// What keeps a plain path from naming the file its verbatim form names: the
// system drops a name's closing dots and spaces, takes a device name ("nul",
// "con.tmp", "COM1.log", ...) for the device, and refuses paths beyond its
// limit, wherever a path comes without the prefix.
enum class PlainPathFault { None, NameEndsInDotOrSpace, DeviceName, TooLong };

// Why the shell's file operation (the Recycle Bin) cannot be given this
// plain path for its file: it takes only plain paths, of fewer than MAX_PATH
// characters, and normalises them.
PlainPathFault RecycleBinFault(const std::wstring& plainPath);

// Whether the system takes this plain path as the current directory: the
// same faults, within MAX_PATH less a closing separator and the terminator.
bool CanBeCurrentDirectory(const std::wstring& plainDir);

// ---- Names ending in a dot or a space ---------------------------------------

// True when a name below the verbatim path's root ends in a dot or a space.
bool HasNameEndingInDotOrSpace(const std::wstring& verbatim);

// The verbatim path with the closing dots and spaces of each name below its
// root dropped: the namesake a system that drops them would name instead.
std::wstring NamesakeOf(const std::wstring& verbatim);

// True when the two paths are the same once each name has lost its closing
// dots and spaces.
bool SameButForClosingDotsAndSpaces(const std::wstring& a, const std::wstring& b);
