#include <glib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

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

TEST(ReadIni, AcceptsEveryLineEnd) {
    EXPECT_EQ(General::ReadIni(WriteFile("lf.ini", "[a]\none\n[skin]\nvalue\n"), "skin"), "value");
    EXPECT_EQ(General::ReadIni(WriteFile("noend.ini", "[skin]\r\nvalue"), "skin"), "value");
    // A lone CR ends a line too.
    EXPECT_EQ(General::ReadIni(WriteFile("mixed.ini", "[x]\r\n1\n[skin]\r\nin\rside\n"), "skin"), "in");
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

TEST(ReadIni, ReadsAFiftyMegabyteFile) {
    std::string content;
    content.reserve(51 << 20);
    const std::string chunk = "[other]\r\nsome value text 0123456789 abcdefghijklmnopqrstuvwxyz\r\n\x01\xff garbage [x\n";
    while (content.size() < (50 << 20)) content += chunk;
    content += "[skin]\r\nfound\r\n";
    const auto lines = WriteFile("big.ini", content);
    const auto oneLine = WriteFile("oneline.ini", "[" + std::string(50 << 20, 'x'));
    content.clear();
    content.shrink_to_fit();

    EXPECT_EQ(General::ReadIni(lines, "skin"), "found");
    EXPECT_EQ(General::ReadIni(oneLine, "skin"), "");
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

TEST(StringProcedures, GetFileNameTakesThePartAfterTheLastSlashOrBackslash) {
    EXPECT_EQ(General::GetFileName("C:\\Program\\skins\\Blue Steel"), "Blue Steel");
    EXPECT_EQ(General::GetFileName("skins\\"), "");
    EXPECT_EQ(General::GetFileName("\\"), "");
    EXPECT_EQ(General::GetFileName("/home/u/Favorites\\News/Daily"), "Daily");
    EXPECT_EQ(General::GetFileName("/home/u/Favorites"), "Favorites");
    EXPECT_EQ(General::GetFileName("skins/"), "");
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

TEST(LineReader, AcceptsEveryLineEndAndSkipsAByteOrderMark) {
    const struct {
        const char* name;
        std::string content;
        std::vector<std::string> lines;
    } cases[] = {
        {"crlf", "one\r\ntwo\r\n", {"one", "two"}},
        {"lf", "one\ntwo", {"one", "two"}},
        {"cr only", "one\rtwo\r\rthree", {"one", "two", "", "three"}},
        {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"byte-order mark", "\xEF\xBB\xBF[skin]\r\nblue\r\n", {"[skin]", "blue"}},
        {"mark alone", "\xEF\xBB\xBF", {}},
        {"mark in the middle stays", "a\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
        {"other code page kept", "caf\xe9\r\n\xff\xfe\r\n", {"caf\xe9", "\xff\xfe"}},
        // CR LF split across the reader's buffer still ends one line.
        {"long", std::string(65535, 'x') + "\r\n" + std::string(70000, 'y') + "\rz", {std::string(65535, 'x'), std::string(70000, 'y'), "z"}},
    };
    for (const auto& c : cases) {
        General::LineReader reader(WriteFile("lines.txt", c.content));
        std::vector<std::string> lines;
        while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    EXPECT_EQ(General::ReadIni(WriteFile("bom.ini", "\xEF\xBB\xBF[Skin]\rskins\\blue\r"), "skin"), "skins\\blue");
}

TEST(LineReader, WhatIsNoRegularFileReadsAsMissing) {
    const fs::path fifo = GeneralFolder() / "fifo.dat";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {fifo, GeneralFolder(), fs::path("/dev/zero"), GeneralFolder() / "absent.dat"}) {
        EXPECT_EQ(ErrorNumberOf([&] { General::LineReader reader(path.string()); }), platform::errors::FileNotFound)
            << path;
    }
    EXPECT_EQ(General::ReadIni(fifo.string(), "skin"), "");
    fs::remove(fifo);
}

TEST(FolderIgnoringCase, FindsNamesWhateverTheirCaseAndPrefersAnExactMatch) {
    const fs::path folder = GeneralFolder() / "skin";
    fs::create_directories(folder);
    for (const char* name : {"SearchFlat.bmp", "TabLeft.BMP", "tableft.bmp", "\xff.bmp"}) WriteFile("skin/"s + name, name);
    const General::FolderIgnoringCase skin(folder.string());
    EXPECT_EQ(skin.PathOf("searchflat.bmp"), (folder / "SearchFlat.bmp").string());
    EXPECT_EQ(skin.PathOf("SEARCHFLAT.BMP"), (folder / "SearchFlat.bmp").string());
    EXPECT_EQ(skin.PathOf("tableft.bmp"), (folder / "tableft.bmp").string());
    EXPECT_EQ(skin.PathOf("TabLeft.BMP"), (folder / "TabLeft.BMP").string());
    EXPECT_EQ(skin.PathOf("Tableft.bmp"), (folder / "TabLeft.BMP").string());
    EXPECT_EQ(skin.PathOf("\xff.BMP"), (folder / "\xff.bmp").string());
    EXPECT_EQ(skin.PathOf("absent.bmp"), (folder / "absent.bmp").string());
    EXPECT_EQ(General::FolderIgnoringCase((folder / "none").string()).PathOf("a.bmp"), (folder / "none/a.bmp").string());
}

TEST(WriteWholeFile, ReplacesTheFileOrLeavesItWhole) {
    const auto file = WriteFile("whole.txt", "old");
    General::WriteWholeFile(file, "new\r\n");
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new\r\n");
    EXPECT_EQ(ErrorNumberOf([] { General::WriteWholeFile((GeneralFolder() / "no/such.txt").string(), "x"); }),
              platform::errors::PathNotFound);
    EXPECT_EQ(ErrorNumberOf([] { General::WriteWholeFile(GeneralFolder().string(), "x"); }),
              platform::errors::PathFileAccessError);
}
