// Settings files written byte by byte, as the program stores them: int32
// little-endian counts and flags, length-prefixed code page 932 strings.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {

struct Entry {
    std::string text;
    int flag;
};

struct Pattern {
    std::string name;
    std::vector<Entry> masks;
    std::vector<Entry> dirs;
};

Bytes SettingsBytes(const std::vector<Pattern>& patterns);

// Upper case as the program stores masks and directories: ASCII letters
// only, the second byte of a double-byte character left alone.
std::string UpperCp932(const std::string& text);

}  // namespace e2e
