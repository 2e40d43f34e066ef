#include "pointer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace testing_support {

void PointAt(int x, int y) {
    const std::string to = " " + std::to_string(x) + " " + std::to_string(y);
    ASSERT_EQ(std::system(("xdotool mousemove" + to + " sleep 0.05 mousemove_relative 1 0").c_str()), 0);
}

void Click() { ASSERT_EQ(std::system("xdotool click 1"), 0); }

}  // namespace testing_support
