#include <glib.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/General.h"
#include "platform/error.h"
#include "child_process.h"
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

using testing_support::ErrorNumberOf;

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

TEST(ReadIni, ReadsPastMegabytesOfOtherSectionsAndGarbage) {
    // bench/ times the same reading of 50 megabytes.
    std::string content;
    const std::string chunk = "[other]\r\nsome value text 0123456789 abcdefghijklmnopqrstuvwxyz\r\n\x01\xff garbage [x\n";
    while (content.size() < (2 << 20)) content += chunk;
    content += "[skin]\r\nfound\r\n";
    const auto lines = WriteFile("big.ini", content);
    const auto oneLine = WriteFile("oneline.ini", "[" + std::string(2 << 20, 'x'));

    EXPECT_EQ(General::ReadIni(lines, "skin"), "found");
    EXPECT_EQ(General::ReadIni(oneLine, "skin"), "");
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

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::perms PermissionsOf(const fs::path& path) { return fs::status(path).permissions(); }

// The names in the folder: a failed write leaves no temporary file behind.
std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(WriteWholeFile, KeepsTheFilesPermissionsWhateverTheUmask) {
    const mode_t umaskBefore = umask(022);
    for (const auto permissions : {fs::perms(0600), fs::perms(0664), fs::perms(0640)}) {
        const auto file = WriteFile("mode.txt", "old");
        fs::permissions(file, permissions);
        General::WriteWholeFile(file, "new");
        EXPECT_EQ(ReadText(file), "new");
        EXPECT_EQ(PermissionsOf(file), permissions) << std::oct << static_cast<int>(permissions);
    }
    umask(umaskBefore);
}

TEST(WriteWholeFile, WritesThroughSymbolicLinksToTheFileTheyLeadTo) {
    const fs::path folder = GeneralFolder() / "links";
    fs::create_directories(folder / "real");
    std::ofstream(folder / "real/settings.txt") << "old";
    fs::permissions(folder / "real/settings.txt", fs::perms(0600));
    fs::create_symlink("real/settings.txt", folder / "first");
    fs::create_symlink(folder / "first", folder / "second");  // a link to a link
    fs::create_symlink("real/new.txt", folder / "dangling");

    General::WriteWholeFile((folder / "second").string(), "through two links");
    EXPECT_TRUE(fs::is_symlink(folder / "second"));
    EXPECT_TRUE(fs::is_symlink(folder / "first"));
    EXPECT_EQ(ReadText(folder / "real/settings.txt"), "through two links");
    EXPECT_EQ(PermissionsOf(folder / "real/settings.txt"), fs::perms(0600));

    General::WriteWholeFile((folder / "dangling").string(), "made");
    EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
    EXPECT_EQ(ReadText(folder / "real/new.txt"), "made");
    EXPECT_EQ(NamesIn(folder / "real"), (std::vector<std::string>{"new.txt", "settings.txt"}));

    fs::create_symlink("loop", folder / "loop");
    EXPECT_EQ(ErrorNumberOf([&] { General::WriteWholeFile((folder / "loop").string(), "x"); }),
              platform::errors::PathFileAccessError);
    fs::remove_all(folder);
}

TEST(WriteWholeFile, LeavesAloneWhatMayNotBeReplaced) {
    const fs::path folder = GeneralFolder() / "kept";
    fs::create_directories(folder);
    std::ofstream(folder / "read-only.dat") << "the user's own";
    fs::permissions(folder / "read-only.dat", fs::perms(0444));
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0644), 0);
    fs::create_directory(folder / "folder");

    for (const char* name : {"read-only.dat", "fifo", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ErrorNumberOf([&] { General::WriteWholeFile((folder / name).string(), "replaced"); }),
                  platform::errors::PathFileAccessError);
    }
    EXPECT_EQ(ReadText(folder / "read-only.dat"), "the user's own");
    EXPECT_EQ(PermissionsOf(folder / "read-only.dat"), fs::perms(0444));
    EXPECT_TRUE(fs::is_fifo(folder / "fifo"));
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"fifo", "folder", "read-only.dat"}));
    fs::remove_all(folder);
}

// The test below starts this program again with a limit on the size of the files it
// may write; the child replaces the file in this folder.
constexpr const char* CutShortFolderVariable = "QUELLIN_TEST_CUT_SHORT_FOLDER";

TEST(WriteWholeFile, AWriteCutShortHalfWayLeavesTheOldFileWhole) {
    const fs::path folder = GeneralFolder() / "cut-short";
    fs::create_directories(folder / "child");
    std::ofstream(folder / "settings.ini", std::ios::binary) << "[Skin]\r\ndefault\r\n";
    ASSERT_TRUE(testing_support::RunThisProgram(
        "WriteWholeFileCutShort.*",
        {{CutShortFolderVariable, folder.string()}, {testing_support::TestRootVariable, (folder / "child").string()}}));
    EXPECT_EQ(ReadText(folder / "settings.ini"), "[Skin]\r\ndefault\r\n");
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"child", "settings.ini"}));
    fs::remove_all(folder);
}

TEST(WriteWholeFileCutShort, RaisesWhenTheFileSizeLimitStopsTheWriteHalfWay) {
    const char* folder = std::getenv(CutShortFolderVariable);
    if (!folder) GTEST_SKIP() << "runs only when started by the test of a write cut short";
    // Past the limit a write fails with EFBIG instead of ending the process.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string text(256 * 1024, 'x');
    EXPECT_EQ(ErrorNumberOf([&] { General::WriteWholeFile(std::string(folder) + "/settings.ini", text); }),
              platform::errors::PathFileAccessError);
}

TEST(OnOneLine, EveryKindOfLineBreakBecomesTheReplacementOnce) {
    const struct {
        const char* text;
        const char* blanks;
    } cases[] = {{"plain", "plain"},        {"a\r\nb", "a b"},     {"a\nb\rc", "a b c"},
                 {"a\r\r\nb", "a  b"},      {"\r\nend\n", " end "}, {"", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(General::OnOneLine(c.text, " "), c.blanks) << c.text;
        EXPECT_EQ(General::OnOneLine(c.text, "").find_first_of("\r\n"), std::string::npos);
    }
}
