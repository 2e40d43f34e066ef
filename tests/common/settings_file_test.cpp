#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/SettingsFile.h"
#include "platform/error.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
    const fs::path folder = testing_support::TempRoot() / "settings" / name;
    fs::create_directories(folder);
    return folder;
}

std::string ReadWhole(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

// The lines of a text in which every line must end with CR LF.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    return lines;
}

SettingsFile::SettingsDialogValues EveryGroupSet() {
    SettingsFile::SettingsDialogValues values;
    values.SkinFolder = "skins\\Blue Steel";
    values.HistoryInNewTab = 1;
    values.SearchInNewTab = 0;
    values.SearchPage = "http://search.example/?q=";
    values.DefaultPage = "about:blank";
    values.PopupMode = 2;
    values.FastPaint = 1;
    values.NewTabMode = 1;
    values.NoAutoComplete = 0;
    values.CookieTrapMode = 3;
    return values;
}

TEST(BrowserIniText, WithEveryGroupSetIsThirtyOneLines) {
    const auto lines = CrLfLines(SettingsFile::BrowserIniText(EveryGroupSet()));
    const std::vector<std::string> expected = {
        "[Skin]",    "skins\\Blue Steel", "", "[History]",      " 1", "", "[SearchTab]",  " 0", "",
        "[Search]",  "http://search.example/?q=", "", "[Default]", "about:blank", "", "[Popups]", "2", "",
        "[Paint]",   " 1", "", "[NewTab]", "1", "", "[AutoComplete]", " 0", "", "[CookieTrap]", "3", "", ""};
    EXPECT_EQ(lines, expected);
}

TEST(BrowserIniText, LeavesOutTheOptionGroupsWithNothingSelected) {
    SettingsFile::SettingsDialogValues values;
    values.SkinFolder = "default";
    const auto lines = CrLfLines(SettingsFile::BrowserIniText(values));
    const std::vector<std::string> expected = {"[Skin]",   "default", "", "[History]", " 0", "", "[SearchTab]",    " 0", "",
                                               "[Search]", "",        "", "[Paint]",   " 0", "", "[AutoComplete]", " 0", "", ""};
    EXPECT_EQ(lines, expected);
}

TEST(BrowserIniText, ValuesStayOnTheirOwnLine) {
    auto values = EveryGroupSet();
    values.SearchPage = "http://a.example/\r\n[Skin]\nskins\\evil";
    values.DefaultPage = "http://b.example/\r";
    const auto lines = CrLfLines(SettingsFile::BrowserIniText(values));
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[10], "http://a.example/[Skin]skins\\evil");
    EXPECT_EQ(lines[13], "http://b.example/");
}

TEST(WriteBrowserIni, RoundTripsThroughReadSettings) {
    const auto path = (FreshFolder("roundtrip") / "browser.ini").string();
    SettingsFile::WriteBrowserIni(path, EveryGroupSet());
    const auto settings = SettingsFile::ReadSettings(path);
    EXPECT_EQ(settings.SkinFolder, "skins\\Blue Steel");
    EXPECT_EQ(settings.HistoryInNewTab, 1);
    EXPECT_EQ(settings.SearchInNewTab, 0);
    EXPECT_EQ(settings.SearchPage, "http://search.example/?q=");
    EXPECT_EQ(settings.DefaultPage, "about:blank");
    EXPECT_EQ(settings.PopupMode, 2);
    EXPECT_EQ(settings.FastPaint, 1);
    EXPECT_EQ(settings.NewTabMode, 1);
    EXPECT_EQ(settings.NoAutoComplete, 0);
    EXPECT_EQ(settings.CookieTrapMode, 3);
}

TEST(WriteBrowserIni, AbsentGroupsReadBackAsZeroOrEmpty) {
    const auto path = (FreshFolder("absent") / "browser.ini").string();
    auto values = EveryGroupSet();
    values.DefaultPage.reset();
    values.PopupMode.reset();
    values.NewTabMode.reset();
    values.CookieTrapMode.reset();
    values.NoAutoComplete = 1;
    SettingsFile::WriteBrowserIni(path, values);
    const auto settings = SettingsFile::ReadSettings(path);
    EXPECT_EQ(settings.DefaultPage, "");
    EXPECT_EQ(settings.PopupMode, 0);
    EXPECT_EQ(settings.NewTabMode, 0);
    EXPECT_EQ(settings.CookieTrapMode, 0);
    EXPECT_EQ(settings.NoAutoComplete, 1);
    EXPECT_EQ(settings.SkinFolder, "skins\\Blue Steel");
}

TEST(WriteBrowserIni, ReplacesTheWholeFileAndLeavesNothingBeside) {
    const auto folder = FreshFolder("replace");
    const auto path = folder / "browser.ini";
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');
    SettingsFile::WriteBrowserIni(path.string(), EveryGroupSet());
    EXPECT_EQ(ReadWhole(path), SettingsFile::BrowserIniText(EveryGroupSet()));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(WriteBrowserIni, RaisesWhenTheFolderIsMissing) {
    const auto path = (FreshFolder("missing") / "gone" / "browser.ini").string();
    try {
        SettingsFile::WriteBrowserIni(path, EveryGroupSet());
        FAIL() << "no error raised";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::errors::PathNotFound);
    }
}

TEST(ReadSettings, WithoutAFileEverySettingIsZeroOrEmpty) {
    const auto settings = SettingsFile::ReadSettings((FreshFolder("none") / "browser.ini").string());
    EXPECT_EQ(settings.SkinFolder, "");
    EXPECT_EQ(settings.SearchPage, "");
    EXPECT_EQ(settings.DefaultPage, "");
    for (auto value : {settings.HistoryInNewTab, settings.SearchInNewTab, settings.PopupMode, settings.FastPaint,
                       settings.NewTabMode, settings.NoAutoComplete, settings.CookieTrapMode}) {
        EXPECT_EQ(value, 0);
    }
}

TEST(ReadSettings, AcceptsAHandEditedFile) {
    const auto path = FreshFolder("hand") / "browser.ini";
    std::ofstream(path, std::ios::binary) << "[SKIN]\nskins\\x\n[popups]\n 7 \n[Paint]\n99999\n[CookieTrap]\nsome\n"
                                             "[NewTab]\n-70000\n[History]\n1.5\n[Search]\n";
    const auto settings = SettingsFile::ReadSettings(path.string());
    EXPECT_EQ(settings.SkinFolder, "skins\\x");
    EXPECT_EQ(settings.PopupMode, 7);
    EXPECT_EQ(settings.FastPaint, 32767);
    EXPECT_EQ(settings.CookieTrapMode, 0);
    EXPECT_EQ(settings.NewTabMode, -32768);
    EXPECT_EQ(settings.HistoryInNewTab, 2);
    EXPECT_EQ(settings.SearchPage, "");
}

}  // namespace
