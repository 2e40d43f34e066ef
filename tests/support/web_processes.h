#pragma once

#include <sys/types.h>

#include <vector>

namespace testing_support {

// The engine's web processes that this process started and that still run.
std::vector<pid_t> WebProcesses();

}  // namespace testing_support
