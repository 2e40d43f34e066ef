// The list files (autocomplete.dat, filter.dat: one entry a line; launch.dat: a
// name line, then its command line), read line by line.
#include <string>
#include <vector>

#include "common/General.h"
#include "fuzz_file.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::WriteInput("list.dat", data, size);
    try {
        General::LineReader file(path);
        std::vector<std::pair<std::string, std::string>> entries;
        while (!file.AtEnd()) {
            std::string name = file.ReadLine();
            entries.emplace_back(std::move(name), file.ReadLine());
        }
    } catch (const platform::ToolkitError&) {
        // A name without its command line.
    }
    return 0;
}
