#pragma once

#include <map>
#include <string>

namespace testing_support {

// Runs this test program again, limited to the tests of the filter, with the
// variables added to its environment, while this process goes on running its main
// loop (so it can serve pages meanwhile). True when the child ended successfully
// within the time; a failure is reported to the running test.
bool RunThisProgram(const std::string& gtestFilter, const std::map<std::string, std::string>& environment,
                    int timeoutMs = 60000);

}  // namespace testing_support
