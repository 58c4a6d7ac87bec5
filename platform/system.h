// The few file-system and process services the pattern store needs, with the
// same meaning on Windows and in the portable build.
#pragma once

#include <cstddef>

namespace platform {

// Writes the process's current directory into buf; false when it does not
// fit, or when the code page cannot spell it exactly.
bool GetCurrentDir(char* buf, std::size_t size);

// True when `path` exists; *readOnly receives its read-only attribute.
bool GetFileReadOnly(const char* path, bool* readOnly);

// Atomically puts `from` in place of `to`, retrying briefly while another
// program holds the target. Returns 0 or the system error code.
long ReplaceFileWith(const char* from, const char* to);

// Deletes a file; true on success.
bool RemoveFile(const char* path);

// The error code for "access denied" and for "name too long" on this system.
long AccessDeniedError();
long NameTooLongError();

}  // namespace platform
