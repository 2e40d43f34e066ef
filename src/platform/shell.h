#pragma once

#include <string>

namespace platform {

inline constexpr int vbNormalFocus = 1;

// Starts a program from a command line, split into words as a shell splits them
// (quotes and backslashes) and run without a shell, found on PATH, detached from
// this process, with its standard streams on /dev/null. Does not wait for it.
// Raises ToolkitError: InvalidProcedureCall (5) for an empty or badly quoted line,
// FileNotFound (53) when the program cannot be found or started; the description
// says why.
void Shell(const std::string& PathName, int WindowStyle = vbNormalFocus);

}  // namespace platform
