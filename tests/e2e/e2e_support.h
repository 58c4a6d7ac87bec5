// What the end-to-end tests share: the window states read from outside, and
// a fixture that starts the program.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "tests/support/settings_bytes.h"
#include "tests/support/states.h"

namespace e2e {

inline MainState ReadMainState(const Window& main)
{
    return testing_support::ReadMainState(main.Handle());
}
inline ResultsState ReadResultsState(const Window& results)
{
    return testing_support::ReadResultsState(results.Handle());
}

// Upper case as the program stores masks and directories: ASCII letters
// only, the second byte of a double-byte character left alone.
std::string UpperCp932(const std::string& text);

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
    // Answers the box a step raises, which must be the step's last.
    bool Answered(const std::string& caption, const std::string& text, int id);
    // The update button saves exactly `expected`.
    void Save(const Bytes& expected);
    // The quit question answered Yes ends the program.
    void QuitWithoutSaveQuestion();

    Tidymoth app;
    Window main;
};

}  // namespace e2e
