// Settings files written byte by byte, as the program stores them: int32
// little-endian counts and flags, length-prefixed code page 932 strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "patterns/pattern_set.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

struct Entry {
    std::string text;
    int flag;
};

struct Pattern {
    std::string name;
    std::vector<Entry> masks;
    std::vector<Entry> dirs;
};

// Field by field, for files the program would never write.
struct SettingsWriter {
    Bytes bytes;
    SettingsWriter& Int(std::int32_t value);
    SettingsWriter& Str(const std::string& s) { return Raw(static_cast<std::int32_t>(s.size()), s); }
    // A length followed by `s`, whatever the two say.
    SettingsWriter& Raw(std::int32_t length, const std::string& s);
    SettingsWriter& Record(const Pattern& pattern);
};

// A whole file: the count, then each pattern.
Bytes SettingsBytes(const std::vector<Pattern>& patterns);

// Files with counts and lengths the reader must not trust, and what a load
// makes of each. The fuzzer starts from them too.
struct HostileFile {
    const char* what;
    SettingsWriter file;
    LoadOutcome outcome;
    int kept;  // patterns in the set afterwards
};
std::vector<HostileFile> HostileSettingsFiles();

}  // namespace testing_support
