// The command line: the arguments the program is started with (NUL-separated in
// the input), joined into the address the first tab opens and made the address
// the browser loads.
#include <string>
#include <vector>

#include "fuzz_file.h"
#include "platform/address.h"
#include "platform/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{"quellin"};
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start <= input.size();) {
        const auto end = std::min(input.find('\0', start), input.size());
        arguments.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    platform::UriForAddress(platform::CommandLineOf(static_cast<int>(arguments.size()), argv.data()));
    return 0;
}
