// What the end-to-end tests share: the program's texts, a snapshot of the
// main window, and a fixture that starts the program.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/settings_bytes.h"

namespace e2e {

// Captions and texts the user sees.
extern const char MAIN_CAPTION[];
extern const char RESULTS_CAPTION[];
extern const char ABOUT_CAPTION[];
extern const char CONFIRM[];
extern const char MESSAGE[];
extern const char WARNING[];
extern const char QUIT_QUESTION[];
extern const char SAVE_QUESTION[];
extern const char NAME_MISSING[];
extern const char DEFAULT_NAME[];

// Everything the user can see of the main window's controls.
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
MainState ReadMainState(const Window& main);
void PrintTo(const MainState& state, std::ostream* os);

// Starts the program in a fresh start-up directory, with or without a
// settings file, and keeps it for the test.
class E2eTest : public ::testing::Test {
protected:
    // Starts the program; a non-empty `settings` is written first.
    bool Start(const Bytes& settings = Bytes());
    // The settings file is still exactly `expected`.
    void ExpectSettings(const Bytes& expected);
    // Everything posted so far was handled and no message box is open.
    void ExpectNoMessageBox();
    // The quit question answered Yes ends the program.
    void QuitWithoutSaveQuestion();

    Tidymoth app;
    Window main;
};

}  // namespace e2e
