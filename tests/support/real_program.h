#pragma once

#include <filesystem>

namespace testing_support {

// Readies the program to run in this test process on real WebKit views: a program
// folder of the test's own, a cookie store in memory, and an End that returns.
// Returns the program folder.
std::filesystem::path PrepareProgramOnRealViews();

}  // namespace testing_support
