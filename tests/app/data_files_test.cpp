#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/State.h"
#include "program_fixture.h"

namespace fs = std::filesystem;

namespace {

class DataFilesTest : public ProgramTest {
protected:
    // Starts the program and lets tab 0's first page finish, as a user would see it.
    void StartAndFinishFirstPage() {
        Start("about:blank");
        ASSERT_TRUE(testing_support::Pump([] { return !frmMain->Timer1(0).Enabled(); }, 5000));
    }

    fs::path DayPage() const { return folder / "history" / testing_support::TodaysPageName(); }
};

// What may stand under a data file's name besides a file the program can read.
const struct Obstacle {
    const char* name;
    std::function<void(const fs::path&)> make;
    std::function<bool(const fs::path&)> stillThere;
} Obstacles[] = {
    {"a FIFO", [](const fs::path& path) { mkfifo(path.c_str(), 0600); },
     [](const fs::path& path) { return fs::is_fifo(path); }},
    {"a folder", [](const fs::path& path) { fs::create_directory(path); },
     [](const fs::path& path) { return fs::is_directory(path); }},
    {"a file that cannot be read", [](const fs::path& path) { fs::create_symlink("/proc/self/mem", path); },
     [](const fs::path& path) { return fs::is_symlink(path) && fs::read_symlink(path) == "/proc/self/mem"; }},
};

TEST_F(DataFilesTest, DataFilesThatAreNoRegularFilesReadAsMissingAndNeverBlockStartUp) {
    for (const char* name : {"browser.ini", "filter.dat", "History.dat"}) mkfifo((folder / name).c_str(), 0600);
    StartAndFinishFirstPage();
    EXPECT_EQ(Settings.PopupMode, 0);
    EXPECT_EQ(frmMain->lstFilter.ListCount(), 0);
    // Without the day page's template no day page is made.
    EXPECT_FALSE(fs::exists(DayPage()));
}

TEST_F(DataFilesTest, AnAddressListThatCouldNotBeReadIsNeverWrittenOver) {
    Start("about:blank");
    for (const auto& obstacle : Obstacles) {
        SCOPED_TRACE(obstacle.name);
        const fs::path list = folder / "autocomplete.dat";
        fs::remove_all(list);
        obstacle.make(list);
        frmMain->LoadSkin(folder.string());
        EXPECT_EQ(frmMain->Combo1.ListCount(), 0);
        frmMain->Combo1.AddItem("http://typed.example/");
        EXPECT_NO_THROW(frmMain->SaveComplete());
        EXPECT_TRUE(obstacle.stillThere(list));
    }
    // A list that is missing is an empty one, and is written.
    fs::remove_all(folder / "autocomplete.dat");
    frmMain->LoadSkin(folder.string());
    frmMain->Combo1.AddItem("http://typed.example/");
    frmMain->SaveComplete();
    EXPECT_EQ(ReadFile("autocomplete.dat"), "http://typed.example/\r\n");
}

TEST_F(DataFilesTest, ListsFromAnotherCodePageComeBackByteForByte) {
    // Written by a system in a Western code page: "é" is the single byte E9.
    WriteFile("autocomplete.dat", "http://caf\xe9.example/\r\nhttp://a.example/\r\n\xff\r\n");
    WriteFile("filter.dat", "r\xe9klame\r\nads\r\n");
    Start("about:blank");
    ASSERT_EQ(frmMain->Combo1.ListCount(), 3);
    EXPECT_EQ(frmMain->Combo1.List(1), "http://caf\xe9.example/");
    EXPECT_EQ(frmMain->lstFilter.List(1), "r\xe9klame");
    frmMain->SaveComplete();
    EXPECT_EQ(ReadFile("autocomplete.dat"), "http://a.example/\r\nhttp://caf\xe9.example/\r\n\xff\r\n");
}

TEST_F(DataFilesTest, ByteOrderMarksAndLoneCarriageReturnsAreReadAsText) {
    WriteFile("browser.ini", "\xEF\xBB\xBF[Popups]\r2\r[Search]\rhttp://find.example/?q=\r");
    WriteFile("filter.dat", "\xEF\xBB\xBFtracker\rbanner\r");
    Start("about:blank");
    EXPECT_EQ(Settings.PopupMode, 2);
    EXPECT_EQ(Settings.SearchPage, "http://find.example/?q=");
    ASSERT_EQ(frmMain->lstFilter.ListCount(), 2);
    EXPECT_EQ(frmMain->lstFilter.List(0), "banner");
    EXPECT_EQ(frmMain->lstFilter.List(1), "tracker");
}

TEST_F(DataFilesTest, ADayPageIsMadeOnlyWithItsHead) {
    WriteFile("History.dat", "[history]\r\n<frameset>\r\n[end]\r\n");
    StartAndFinishFirstPage();
    EXPECT_FALSE(fs::exists(DayPage()));

    // Once the templates have a head, the next finished page makes the day page with it.
    WriteFile("History.dat", "[date]\r\n<h1>#date#</h1>\r\n[end]\r\n");
    Browser(0).Load("http://127.0.0.1/next", "Next");
    frmMain->Timer1_Timer(0);
    ASSERT_TRUE(fs::exists(DayPage()));
    EXPECT_EQ(ReadFile("history/" + testing_support::TodaysPageName()).rfind("<h1>", 0), 0u);
}

}  // namespace
