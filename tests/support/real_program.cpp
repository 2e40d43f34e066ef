#include "real_program.h"

#include <memory>

#include "memory_url_cache.h"
#include "platform/app.h"
#include "platform/browser_view.h"
#include "platform/url_cache.h"
#include "test_support.h"

namespace testing_support {

std::filesystem::path PrepareProgramOnRealViews() {
    const auto folder = TempRoot() / "program";
    std::filesystem::create_directories(folder);
    platform::SetAppPathForTesting(folder.string());
    platform::SetBrowserViewFactory(nullptr);
    platform::SetUrlCache(std::make_unique<platform::MemoryUrlCache>());
    platform::SetEndAction([] {});
    return folder;
}

}  // namespace testing_support
