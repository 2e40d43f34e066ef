#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/General.h"
#include "platform/error.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

fs::path GeneralFolder() {
    const fs::path folder = testing_support::TempRoot() / "general";
    fs::create_directories(folder);
    return folder;
}

std::string WriteFile(const std::string& name, const std::string& content) {
    const fs::path path = GeneralFolder() / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

template <typename Call>
int ErrorNumberOf(Call&& call) {
    try {
        call();
    } catch (const platform::ToolkitError& error) {
        return error.Number();
    }
    return 0;
}

TEST(ReadIni, KeyLinesIgnoreLetterCaseButAreNotTrimmed) {
    const auto file = WriteFile("case.ini",
                                "[SKIN]\r\nupper\r\n"
                                " [Skin]\r\nblank before\r\n"
                                "[Skin] \r\nblank after\r\n"
                                "[search]\r\nlower\r\n");
    EXPECT_EQ(General::ReadIni(file, "skin"), "upper");
    EXPECT_EQ(General::ReadIni(file, "Skin"), "upper");
    EXPECT_EQ(General::ReadIni(file, "SEARCH"), "lower");
    EXPECT_EQ(General::ReadIni(file, "default"), "");
}

TEST(ReadIni, LastOccurrenceWins) {
    const auto file = WriteFile("twice.ini", "[Skin]\r\nfirst\r\n\r\n[Search]\r\nx\r\n[skin]\r\nsecond\r\n\r\n");
    EXPECT_EQ(General::ReadIni(file, "skin"), "second");
}

TEST(ReadIni, KeyOnTheLastLineGivesEmptyEvenAfterAnEarlierValue) {
    EXPECT_EQ(General::ReadIni(WriteFile("last1.ini", "[skin]\r\nfirst\r\n[skin]\r\n"), "skin"), "");
    EXPECT_EQ(General::ReadIni(WriteFile("last2.ini", "[skin]\r\nfirst\r\n[skin]"), "skin"), "");
    // A value line that is empty is still a value line.
    EXPECT_EQ(General::ReadIni(WriteFile("last3.ini", "[skin]\r\n\r\n[search]\r\nx\r\n"), "search"), "x");
}

TEST(ReadIni, TheValueLineIsTakenWhateverItHolds) {
    const auto file = WriteFile("value.ini", "[Search]\r\n[Search]\r\nignored\r\n[Skin]\r\n[Default]\r\nhome\r\n");
    EXPECT_EQ(General::ReadIni(file, "search"), "[Search]");
    EXPECT_EQ(General::ReadIni(file, "skin"), "[Default]");
    // Only the reader's own key consumes a value line; for "default" that line is a key line.
    EXPECT_EQ(General::ReadIni(file, "default"), "home");
}

TEST(ReadIni, MissingOrUnreadableFileGivesEmpty) {
    EXPECT_EQ(General::ReadIni((GeneralFolder() / "absent.ini").string(), "skin"), "");
    EXPECT_EQ(General::ReadIni((GeneralFolder() / "no folder" / "absent.ini").string(), "skin"), "");
    EXPECT_EQ(General::ReadIni(GeneralFolder().string(), "skin"), "");
}

TEST(ReadIni, AcceptsLfLineEndsAndKeepsOtherBytes) {
    EXPECT_EQ(General::ReadIni(WriteFile("lf.ini", "[a]\none\n[skin]\nvalue\n"), "skin"), "value");
    EXPECT_EQ(General::ReadIni(WriteFile("noend.ini", "[skin]\r\nvalue"), "skin"), "value");
    EXPECT_EQ(General::ReadIni(WriteFile("mixed.ini", "[x]\r\n1\n[skin]\r\nin\rside\n"), "skin"), "in\rside");
}

TEST(ReadIni, SurvivesBinaryGarbageAndNulBytes) {
    const std::string garbage = "\xff\xfe\x00\x01\n[\x80]\r\n\x00\x00\n[skin]\n"s + "val\x00ue\xff\r\n"s + "\x1a\x1b[\n]\n"s;
    const auto file = WriteFile("garbage.ini", garbage);
    EXPECT_EQ(General::ReadIni(file, "skin"), "val\x00ue\xff"s);
    EXPECT_EQ(General::ReadIni(file, "\x80"), "\x00\x00"s);
    EXPECT_EQ(General::ReadIni(file, "other"), "");
}

TEST(ReadIni, IgnoresLetterCaseBeyondAscii) {
    const auto file = WriteFile("unicode.ini", "[ÄPFEL]\r\nfruit\r\n");
    EXPECT_EQ(General::ReadIni(file, "äpfel"), "fruit");
}

TEST(ReadIni, ReadsAFiftyMegabyteFileQuickly) {
    std::string content;
    content.reserve(51 << 20);
    const std::string chunk = "[other]\r\nsome value text 0123456789 abcdefghijklmnopqrstuvwxyz\r\n\x01\xff garbage [x\n";
    while (content.size() < (50 << 20)) content += chunk;
    content += "[skin]\r\nfound\r\n";
    const auto lines = WriteFile("big.ini", content);
    const auto oneLine = WriteFile("oneline.ini", "[" + std::string(50 << 20, 'x'));
    content.clear();
    content.shrink_to_fit();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(General::ReadIni(lines, "skin"), "found");
    EXPECT_EQ(General::ReadIni(oneLine, "skin"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    fs::remove(lines);
    fs::remove(oneLine);
}

TEST(ReadIniBlock, JoinsTheLinesOfTheLastBlockUpToEnd) {
    const auto file = WriteFile("blocks.dat",
                                "[date]\r\nold\r\n[end]\r\n"
                                "[history]\r\n<frameset>\r\n[date]\r\n</frameset>\r\n[END]\r\n"
                                "[Date]\r\n<h1>#date#</h1>\r\n\r\n<hr>\r\n[End]\r\n");
    EXPECT_EQ(General::ReadIniBlock(file, "date"), "<h1>#date#</h1>\r\n\r\n<hr>");
    // Lines inside a block are never key lines.
    EXPECT_EQ(General::ReadIniBlock(file, "history"), "<frameset>\r\n[date]\r\n</frameset>");
    EXPECT_EQ(General::ReadIniBlock(file, "contents"), "");
}

TEST(ReadIniBlock, TheFirstLineBelongsToTheBlockEvenWhenItIsEnd) {
    const auto file = WriteFile("firstend.dat", "[list]\n[end]\nmore\n[end]\n");
    EXPECT_EQ(General::ReadIniBlock(file, "list"), "[end]\r\nmore");
}

TEST(ReadIniBlock, PassesItsErrorsToTheCaller) {
    EXPECT_EQ(ErrorNumberOf([] { General::ReadIniBlock((GeneralFolder() / "absent.dat").string(), "date"); }),
              platform::errors::FileNotFound);
    const auto unclosed = WriteFile("unclosed.dat", "[date]\r\none\r\ntwo\r\n");
    EXPECT_EQ(ErrorNumberOf([&] { General::ReadIniBlock(unclosed, "date"); }), platform::errors::InputPastEndOfFile);
    const auto keyLast = WriteFile("keylast.dat", "[date]\r\none\r\n[end]\r\n[date]\r\n");
    EXPECT_EQ(ErrorNumberOf([&] { General::ReadIniBlock(keyLast, "date"); }), platform::errors::InputPastEndOfFile);
}

TEST(LineReader, ReadingPastTheLastLineRaises) {
    General::LineReader reader(WriteFile("two.txt", "one\r\n\r\n"));
    EXPECT_EQ(reader.ReadLine(), "one");
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadLine(); }), platform::errors::InputPastEndOfFile);
}

TEST(StringProcedures, ReverseString) {
    EXPECT_EQ(General::ReverseString("abc"), "cba");
    EXPECT_EQ(General::ReverseString(""), "");
    EXPECT_EQ(General::ReverseString("añ€x"), "x€ña");
    EXPECT_EQ(General::ReverseString("a\xff\x00"s), "\x00\xff"s + "a");
}

TEST(StringProcedures, GetFileNameTakesThePartAfterTheLastBackslash) {
    EXPECT_EQ(General::GetFileName("C:\\Program\\skins\\Blue Steel"), "Blue Steel");
    EXPECT_EQ(General::GetFileName("skins\\"), "");
    EXPECT_EQ(General::GetFileName("\\"), "");
    EXPECT_EQ(General::GetFileName("/home/u/Favorites\\News/Daily"), "News/Daily");
    EXPECT_EQ(ErrorNumberOf([] { General::GetFileName("/home/u/Favorites"); }), platform::errors::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumberOf([] { General::GetFileName(""); }), platform::errors::InvalidProcedureCall);
}

TEST(FileTests, TellFilesFromFolders) {
    const auto file = WriteFile("exists.txt", "x");
    const auto folder = GeneralFolder().string();
    const auto absent = (GeneralFolder() / "absent").string();
    EXPECT_TRUE(General::FileExists(file));
    EXPECT_FALSE(General::FolderExists(file));
    EXPECT_TRUE(General::FolderExists(folder));
    EXPECT_FALSE(General::FileExists(folder));
    EXPECT_FALSE(General::FileExists(absent));
    EXPECT_FALSE(General::FolderExists(absent));
    EXPECT_FALSE(General::FileExists(""));
}

TEST(GetMonthName, NamesTheMonthsAndFallsBackToJanuary) {
    EXPECT_EQ(General::GetMonthName(1), "January");
    EXPECT_EQ(General::GetMonthName(2), "February");
    EXPECT_EQ(General::GetMonthName(9), "September");
    EXPECT_EQ(General::GetMonthName(12), "December");
    EXPECT_EQ(General::GetMonthName(0), "January");
    EXPECT_EQ(General::GetMonthName(13), "January");
    EXPECT_EQ(General::GetMonthName(-1), "January");
}

}  // namespace

TEST(LineReader, TextLinesForTheControlsAreAlwaysUtf8) {
    const auto file = WriteFile("latin1.dat", "caf\xe9.example\r\nplain\r\n");
    General::LineReader reader(file);
    const std::string first = reader.ReadTextLine();
    EXPECT_TRUE(g_utf8_validate(first.c_str(), static_cast<gssize>(first.size()), nullptr));
    EXPECT_EQ(first.rfind("caf", 0), 0u);
    EXPECT_NE(first.find(".example"), std::string::npos);
    EXPECT_EQ(reader.ReadTextLine(), "plain");
}
