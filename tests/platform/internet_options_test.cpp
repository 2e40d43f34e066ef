#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/browser_view.h"
#include "platform/error.h"
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

TEST(InternetOptions, APipeInPlaceOfTheFileNeitherHoldsUpStartNorIsReplaced) {
    const std::filesystem::path file = platform::InternetOptionsFile();
    std::filesystem::create_directories(file.parent_path());
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    platform::SetHomePage("about:blank");
    platform::LoadInternetOptions();
    EXPECT_EQ(platform::HomePage(), "about:blank");
    try {
        platform::SaveHomePage("http://127.0.0.1/home");
        ADD_FAILURE() << "saved over a pipe";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::errors::PathFileAccessError);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(file));
    std::filesystem::remove(file);
}

TEST(InternetOptions, SavingKeepsTheFilesModeAndItsOtherSettings) {
    const std::filesystem::path file = platform::InternetOptionsFile();
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "# mine\n[Proxy]\nHost=a\n";
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    platform::SaveHomePage("http://127.0.0.1/home");
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::ifstream in(file);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(text.find("# mine"), std::string::npos);
    EXPECT_NE(text.find("Host=a"), std::string::npos);
    EXPECT_NE(text.find("Page=http://127.0.0.1/home"), std::string::npos);
    std::filesystem::remove(file);
}

}  // namespace
