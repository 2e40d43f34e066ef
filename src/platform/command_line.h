#pragma once

#include <string>

namespace platform {

// The command line of these arguments: joined by blanks, except that one argument
// naming an existing file relative to the working folder becomes its full path.
std::string CommandLineOf(int argc, char** argv);

}  // namespace platform
