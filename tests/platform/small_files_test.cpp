#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/internet_shortcut.h"
#include "platform/key_store.h"
#include "platform/regular_file.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string WriteTemp(const std::string& name, const std::string& text) {
    const auto path = testing_support::TempRoot() / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path.string();
}

// A file that starts with the text and runs on, without a line end, to the size:
// sparse, so that it costs neither disk nor memory until it is read.
std::string WriteHuge(const std::string& name, const std::string& text, off_t size) {
    const std::string path = WriteTemp(name, text);
    EXPECT_EQ(truncate(path.c_str(), size), 0);
    return path;
}

std::string MakeFifo(const std::string& name) {
    const auto path = testing_support::TempRoot() / name;
    fs::create_directories(path.parent_path());
    fs::remove(path);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    return path.string();
}

TEST(SmallFileTest, TextLinesEndAtCrLfLfOrALoneCrAfterAByteOrderMark) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\rb\n\n", {"a", "", "b", ""}},
        {"\xEF\xBB\xBF" "a\r\n", {"a"}},
        {"\xEF\xBB" "a", {"\xEF\xBB" "a"}},
        {"caf\xE9\r\n", {"caf\xE9"}},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::TextLines(c.text), c.lines) << c.text;
}

TEST(SmallFileTest, OnlyARegularFileWithinTheLimitIsRead) {
    EXPECT_EQ(platform::ReadSmallFile(WriteTemp("small", "12345"), 5), "12345");
    EXPECT_EQ(platform::ReadSmallFile(WriteTemp("small", "123456"), 5), std::nullopt);
    EXPECT_EQ(platform::ReadSmallFile(WriteTemp("empty", ""), 5), "");
    EXPECT_EQ(platform::ReadSmallFile(MakeFifo("fifo"), 5), std::nullopt);
    EXPECT_EQ(platform::ReadSmallFile(testing_support::TempRoot().string(), 5), std::nullopt);
    EXPECT_EQ(platform::ReadSmallFile((testing_support::TempRoot() / "absent").string(), 5), std::nullopt);
}

std::optional<std::string> SystemInformationPath() {
    return platform::ReadKeyValue(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
}

TEST(KeyStoreTest, FollowsTheReadersRulesAndReadsABoundedAmount) {
    const std::string line = "HKEY_LOCAL_MACHINE\tSOFTWARE\\Microsoft\\Shared Tools\\MSINFO\tPATH\t/opt/info";
    for (const std::string& text : {"\xEF\xBB\xBF" + line + "\r\n", "# note\r" + line + "\r", "\n\n" + line}) {
        WriteTemp(platform::KeyStorePath(), text);
        EXPECT_EQ(SystemInformationPath(), "/opt/info") << text;
    }
    // Past any real store's size it is no store: the search path answers instead.
    const std::string huge = WriteHuge(platform::KeyStorePath(), line + "\n", 128 << 20);
    EXPECT_NE(SystemInformationPath(), "/opt/info");
    fs::remove(huge);
    MakeFifo(platform::KeyStorePath());
    EXPECT_NE(SystemInformationPath(), "/opt/info");
    fs::remove(platform::KeyStorePath());
}

TEST(InternetShortcutTest, ReadsLoneCrLinesAndNeitherPipesNorHugeFiles) {
    EXPECT_EQ(platform::ReadInternetShortcut(WriteTemp("cr.url", "[InternetShortcut]\rIDList=\rURL=http://cr/\r")),
              "http://cr/");
    EXPECT_EQ(platform::ReadInternetShortcut(MakeFifo("pipe.url")), "");
    const std::string huge = WriteHuge("huge.url", "[InternetShortcut]\r\nURL=http://huge/", 64 << 20);
    EXPECT_EQ(platform::ReadInternetShortcut(huge), "");
    fs::remove(huge);
    const std::string longest = "[InternetShortcut]\r\nURL=http://long/" + std::string(60000, 'x') + "\r\n";
    EXPECT_EQ(platform::ReadInternetShortcut(WriteTemp("long.url", longest)), "http://long/" + std::string(60000, 'x'));
}

}  // namespace
