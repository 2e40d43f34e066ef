// Internet shortcuts (*.url) in the Favorites folder.
#include "fuzz_file.h"
#include "platform/internet_shortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ReadInternetShortcut(fuzz::WriteInput("shortcut.url", data, size));
    return 0;
}
