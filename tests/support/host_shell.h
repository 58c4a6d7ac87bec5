// The host behind Wine, for what only it can make (links Wine shows as
// plain files, trees of many files).
#pragma once

#include <string>

namespace testing_support {

bool OnWine();
// The host's path for a Windows path (Wine only; empty elsewhere).
std::string HostPathOf(const std::string& path);
// Runs a /bin/sh script on the host (Wine only) and waits for it; its exit
// status, or -1 when it could not be run. No double quotes in `script`.
int RunHostShell(const std::string& script);

}  // namespace testing_support
