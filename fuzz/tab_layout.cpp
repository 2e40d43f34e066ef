// Tab layout files, as File > Open Tab Layout reads them.
#include <glib.h>

#include "common/TabLayoutFile.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto addresses = General::ReadTabLayout(fuzz::WriteInput("layout.tab", data, size));
    if (addresses)
        for (const auto& address : *addresses)
            // A tab's address is never a script.
            if (g_ascii_strncasecmp(address.c_str(), "javascript:", 11) == 0) __builtin_trap();
    return 0;
}
