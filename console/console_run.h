// What the console program does: the settings read, the pattern picked, the
// same search as the window program's, and for `delete` the same checked
// deletes, each result printed with its outcome.
#pragma once

#include "console/arguments.h"

// Exit codes: every listed file handled as asked; a deletion failed or the
// run was interrupted; nothing could be run; the result set was full.
enum ExitCode { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2, EXIT_LIMIT = 3 };

// Runs `list` or `delete` as `options` say; returns the exit code. A log
// records `commandLine`, the command line as given.
int RunConsoleCommand(const ConsoleOptions& options, const std::wstring& commandLine);

// Asks a running command to stop at the next file (Ctrl+C); safe from any thread.
void InterruptConsoleCommand();
