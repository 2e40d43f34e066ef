#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/error.h"
#include "platform/picture.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace testing_support {

// The environment variable that hands a test process the folder it keeps its tests'
// folders in; whoever sets it removes the folder.
inline constexpr const char* TestRootVariable = "QUELLIN_TEST_ROOT";

// The folder of the running test, removed when the test ends; it is the program
// folder unless the test gives another. Outside a test, the folder of this process.
const std::filesystem::path& TempRoot();

// The environment variable that lengthens every wait of Pump and PumpFor by a whole
// factor, for builds that run many times slower (the sanitizer run).
inline constexpr const char* TimeScaleVariable = "QUELLIN_TEST_TIME_SCALE";

// Runs the main loop until done() or the time is up; false on time-out.
bool Pump(const std::function<bool()>& done, int timeoutMs = 10000);
// Runs the main loop for that long, times the scale: long enough for what is due
// meanwhile, never a bound that a test's result depends on.
void PumpFor(int ms);

// The number of the toolkit error the call raises; 0 when it raises none.
template <typename Call>
int ErrorNumberOf(Call&& call) {
    try {
        call();
    } catch (const platform::ToolkitError& error) {
        return error.Number();
    }
    return 0;
}

// While it lives, the leak check of the sanitizer run leaves out what is allocated:
// for a toolkit's own widgets that keep memory they never free (the completion of
// GTK's file chooser keeps the names it compared), which no suppression can name
// apart from the program's own calls into the toolkit.
class ToolkitLeaksIgnored {
public:
#if defined(__SANITIZE_ADDRESS__)
    ToolkitLeaksIgnored() { __lsan_disable(); }
    ~ToolkitLeaksIgnored() { __lsan_enable(); }
#else
    ToolkitLeaksIgnored() {}
    ~ToolkitLeaksIgnored() {}
#endif
    ToolkitLeaksIgnored(const ToolkitLeaksIgnored&) = delete;
    ToolkitLeaksIgnored& operator=(const ToolkitLeaksIgnored&) = delete;
};

// Today's history day page name, formatted apart from the program: "07 March 2001.htm".
std::string TodaysPageName();

// The colour of one pixel of an image, without its unused byte.
std::uint32_t Pixel(const Cairo::RefPtr<Cairo::ImageSurface>& surface, int x, int y);

// Whether two pictures hold the same pixels.
bool SameImage(const platform::Picture& a, const platform::Picture& b);

}  // namespace testing_support
