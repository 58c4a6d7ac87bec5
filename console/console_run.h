// What the console program does: the log opened, the settings read, the
// pattern picked, then the pattern's directories walked folder by folder,
// each file listed, or deleted through the same checks as in the results
// window and printed with its outcome, as its folder is done.
#pragma once

#include "console/arguments.h"
#include "console/cleanup_report.h"

// Runs `list` or `delete` as `options` say; returns the exit code. A log
// records `commandLine`, the command line as given.
int RunConsoleCommand(const ConsoleOptions& options, const std::wstring& commandLine);

// Asks a running command to stop at the next file (Ctrl+C); safe from any thread.
void InterruptConsoleCommand();
