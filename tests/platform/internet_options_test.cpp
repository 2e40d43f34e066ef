#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/browser_view.h"
#include "platform/internet_options.h"

namespace {

TEST(InternetOptions, TheHomePageIsKeptForTheNextStartAndAnUnreadableFileChangesNothing) {
    platform::SaveHomePage("http://127.0.0.1/home");
    platform::SetHomePage("about:blank");
    platform::LoadInternetOptions();
    EXPECT_EQ(platform::HomePage(), "http://127.0.0.1/home");

    std::ofstream(platform::InternetOptionsFile()) << "not a key file [";
    platform::LoadInternetOptions();
    EXPECT_EQ(platform::HomePage(), "http://127.0.0.1/home");
    std::filesystem::remove(platform::InternetOptionsFile());
}

}  // namespace
