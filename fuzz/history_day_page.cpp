// A history day page, which the program appends to and reads again only from where
// it last stopped: the page is read whole, then grown, then cut short.
#include <string>

#include "common/General.h"
#include "common/RecordedAddresses.h"
#include "fuzz_file.h"
#include "platform/error.h"

namespace {
const std::string Wanted = General::LowerCase(std::string(AddressLineStart) + "http://127.0.0.1/a</font><br>");

void Look(RecordedAddresses& addresses, const std::string& page) {
    try {
        addresses.Contains(page, Wanted);
    } catch (const platform::ToolkitError&) {
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordedAddresses addresses;
    const std::size_t half = size / 2;
    const std::string page = fuzz::WriteInput("day.htm", data, half);
    Look(addresses, page);
    fuzz::WriteInput("day.htm", data, size);
    Look(addresses, page);
    fuzz::WriteInput("day.htm", data + half, size - half);
    Look(addresses, page);
    return 0;
}
