// The end-to-end tests: refused actions and time-outs of the driver fail the
// running test.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    e2e::SetFailureReporter([](const std::string& what) { ADD_FAILURE() << what; });
    return RUN_ALL_TESTS();
}
