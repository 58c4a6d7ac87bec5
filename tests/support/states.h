// Everything the user can see of the main window and of the results window,
// read through the shared control readers, compared whole and printed in
// UTF-8 by gtest.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

struct MainState {
    std::vector<std::string> patterns;
    int patternSel;
    std::string patternText;
    std::vector<std::string> masks;
    int maskSel;
    std::string maskEdit;
    std::vector<std::string> dirs;
    int dirSel;
    std::string dirEdit;
    int subfolders;
    bool updateEnabled;

    bool operator==(const MainState& other) const;
    bool operator!=(const MainState& other) const { return !(*this == other); }
};
MainState ReadMainState(HWND main);
void PrintTo(const MainState& state, std::ostream* os);
// The main window as a start without a settings file shows it.
MainState FreshMainState();

struct ResultsState {
    std::string status;
    std::string action;
    bool actionEnabled;
    bool listEnabled;
    bool deleteEnabled;
    int deleteCheck;
    bool recycleEnabled;
    int recycleCheck;
    int low, high, pos;
    std::string maxText;
    std::vector<std::string> lines;

    bool operator==(const ResultsState& other) const;
    bool operator!=(const ResultsState& other) const { return !(*this == other); }
};
ResultsState ReadResultsState(HWND results);
void PrintTo(const ResultsState& state, std::ostream* os);

// The states at the end of each phase. Ready: every line ticked for the
// Recycle Bin, the bar on the last one. Done: the range of the listing, the
// bar on the last result handled, the boxes disabled as they stood.
ResultsState ReadyState(const std::vector<std::string>& lines);
ResultsState NothingFoundState();
ResultsState DoneState(const std::vector<std::string>& lines, int lastHandled, int deleteCheck, int recycleCheck);

}  // namespace testing_support
