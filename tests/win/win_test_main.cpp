// The in-process Windows tests: the program's dialogs from its own resources,
// on the common controls and COM as the program's start sets them up.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "platform/win/win_app.h"

int main(int argc, char** argv)
{
    platform::RestrictDllSearch();
    platform::LoadCommonControls(ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    ::CoUninitialize();
    return rc;
}
