// The command line of the console program: one command, the pattern it works
// on and where the settings come from.
#pragma once

#include <string>
#include <vector>

struct ConsoleOptions {
    enum class Command { None, List, Delete, Help, Version };
    Command command = Command::None;
    std::wstring patternName;  // --pattern NAME
    bool byName = false;
    int number = 0;             // --number N, from 1; 0 when not given
    std::wstring settingsPath;  // --settings FILE; empty for the default file
    bool permanent = false;     // --permanent
};

// Reads the arguments after the program's name. False, with `error` saying
// what is wrong in the user's words, for a command line that cannot be run.
bool ParseArguments(const std::vector<std::wstring>& args, ConsoleOptions& options, std::wstring& error);
