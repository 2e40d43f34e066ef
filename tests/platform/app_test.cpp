#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/address.h"
#include "platform/app.h"
#include "test_support.h"

namespace {

TEST(Dispatch, EventsHeldBackRunBeforeANewerOneAndInTheirOrder) {
    std::vector<std::string> ran;
    {
        platform::HandlerBlock block;
        platform::Dispatch([&] { ran.push_back("first held"); });
        platform::Dispatch([&] { ran.push_back("second held"); });
    }
    // Released, but before the main loop has had a turn.
    platform::Dispatch([&] { ran.push_back("newer"); });
    EXPECT_EQ(ran, (std::vector<std::string>{"first held", "second held", "newer"}));
}

TEST(CommandLineOf, JoinsTheArgumentsAndGivesAFileOfTheWorkingFolderItsFullPath) {
    const auto file = testing_support::TempRoot() / "start page.html";
    std::ofstream(file) << "<p>start</p>";
    std::string relative = std::filesystem::relative(file).string();
    std::string http = "http://example.com/", words = "two words", missing = "no-such-page.html";
    const auto commandOf = [](std::vector<char*> arguments) {
        arguments.insert(arguments.begin(), const_cast<char*>("quellin"));
        return platform::CommandLineOf(static_cast<int>(arguments.size()), arguments.data());
    };
    EXPECT_EQ(commandOf({}), "");
    EXPECT_EQ(commandOf({relative.data()}), file.string());
    EXPECT_EQ(commandOf({http.data()}), http);
    EXPECT_EQ(commandOf({missing.data()}), missing);
    EXPECT_EQ(commandOf({http.data(), words.data()}), http + " " + words);
}

TEST(UriForAddress, FixesUpTheAddressAsTheBrowserControlDid) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"example.com", "http://example.com"},
        {"www.example.com/a b?q=1", "http://www.example.com/a b?q=1"},
        {"localhost:8080/page", "http://localhost:8080/page"},
        {"127.0.0.1:8080", "http://127.0.0.1:8080"},
        {"/tmp/a page.html", "file:///tmp/a%20page.html"},
        {"http://example.com/", "http://example.com/"},
        {"HTTPS://example.com/", "HTTPS://example.com/"},
        {"about:blank", "about:blank"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"view-source:http://example.com/", "view-source:http://example.com/"},
        {"", ""},
    };
    for (const auto& [typed, uri] : cases) EXPECT_EQ(platform::UriForAddress(typed), uri) << typed;
}

}  // namespace
