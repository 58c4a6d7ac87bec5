// The command line of the console program: one command, the pattern it works
// on, where the settings come from, which of the files it keeps, and where
// its log and its list go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/file_filter.h"

struct ConsoleOptions {
    enum class Command { None, List, Delete, Help, Version };
    enum class Format { Text, Csv };
    Command command = Command::None;
    std::wstring patternName;  // --pattern NAME
    bool byName = false;
    int number = 0;             // --number N, from 1; 0 when not given
    std::wstring settingsPath;  // --settings FILE; empty for the default file
    bool permanent = false;     // --permanent
    // --older-than, --newer-than, --time, --larger-than, --smaller-than; its
    // `now` is set as the run begins.
    FileFilter filter;
    std::wstring logPath;           // --log FILE; empty for none
    Format format = Format::Text;   // --format, for list
    std::uint64_t maxFiles = 0;     // --max-files N; 0 for no ceiling
    std::vector<std::wstring> excludeFiles;    // each --exclude MASK
    std::vector<std::wstring> excludeFolders;  // each --exclude-dir MASK|PATH
    bool removeEmptyFolders = false;           // --remove-empty-folders, for delete
    bool allowVolumeRoot = false;              // --allow-volume-root, for delete
};

// What is wrong with the value of an age or a size.
enum class ValueFault { None, Malformed, TooLarge };

// An age: a whole number of days, "d" after it or nothing, or of hours with
// "h" ("7", "7d", "12h"), as 100-nanosecond units.
ValueFault ParseAge(const std::wstring& text, std::uint64_t& ticks);
// A size: a whole number of bytes, or of 1024, 1024² or 1024³ bytes with
// "K", "M" or "G" after it ("500", "500K", "10M", "2G").
ValueFault ParseSize(const std::wstring& text, std::uint64_t& bytes);

// Reads the arguments after the program's name. False, with `error` saying
// what is wrong in the user's words, for a command line that cannot be run.
bool ParseArguments(const std::vector<std::wstring>& args, ConsoleOptions& options, std::wstring& error);
