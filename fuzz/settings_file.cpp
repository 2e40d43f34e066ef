// The section-file reader as browser.ini, skin.ini and History.dat use it: single
// values, blocks, and the numbers read from them.
#include "common/Conversions.h"
#include "common/General.h"
#include "common/SettingsFile.h"
#include "fuzz_file.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::WriteInput("section.ini", data, size);
    SettingsFile::ReadSettings(path);
    for (const char* key : {"animation", "menuhighlight", "progressbar", "title"}) {
        const std::string value = General::ReadIni(path, key);
        Conversions::Val(value);
        try {
            Conversions::CLng(value);
        } catch (const platform::ToolkitError&) {
        }
    }
    for (const char* key : {"date", "history"}) {
        try {
            General::ReadIniBlock(path, key);
        } catch (const platform::ToolkitError&) {
        }
    }
    return 0;
}
