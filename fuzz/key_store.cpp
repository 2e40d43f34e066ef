// The key store, $XDG_CONFIG_HOME/quellin/registry, as the about box reads it.
#include <glib.h>

#include <filesystem>

#include "fuzz_file.h"
#include "platform/key_store.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_setenv("XDG_CONFIG_HOME", fuzz::Folder().c_str(), TRUE);
    // Nothing found on the search path answers for a value the store lacks.
    g_setenv("PATH", fuzz::Folder().c_str(), TRUE);
    std::filesystem::create_directories(std::filesystem::path(platform::KeyStorePath()).parent_path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteInput("quellin/registry", data, size);
    platform::ReadKeyValue(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    platform::ReadKeyValue(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    return 0;
}
