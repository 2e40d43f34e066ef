#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/TabLayout.h"
#include "platform/msgbox.h"
#include "tabs_fixture.h"

using namespace platform;

namespace {

class TabLayoutTest : public TabsFixture {
protected:
    void SetUp() override {
        SetMsgBoxResponder([this](const std::string& prompt, int, const std::string& title) {
            messages.push_back(title + ": " + prompt);
            return answer;
        });
        TabsFixture::SetUp();
    }
    void TearDown() override { SetMsgBoxResponder(nullptr); }

    std::string Path(const std::string& name) { return (folder / name).string(); }

    // The live tab indexes and the address each was last sent to.
    std::vector<std::string> Tabs() {
        std::vector<std::string> tabs;
        for (int i = 0; i <= Main().WebBrowser1.UBound(); ++i) {
            if (!Main().WebBrowser1.Exists(i)) continue;
            const auto& sent = Browser(i).Recorded().navigations;
            tabs.push_back(std::to_string(i) + " " + (sent.empty() ? "" : sent.back()));
        }
        return tabs;
    }

    std::vector<std::string> messages;
    int answer = vbYes;
};

TEST_F(TabLayoutTest, SavingWritesTheHeaderAndEveryLiveTabAndAsksBeforeReplacing) {
    OpenTabsUpTo(3);
    CurrentTab = 2;
    Main().DelTab();
    TabLayout::SaveTabLayout(Path("three.tab"));
    EXPECT_EQ(ReadFile("three.tab"),
              "<Tab Layout File>\r\nhttp://127.0.0.1/zero\r\nhttp://127.0.0.1/tab1\r\nhttp://127.0.0.1/tab3\r\n");
    EXPECT_TRUE(messages.empty());

    Browser(3).Load("http://127.0.0.1/ünïcode?a=1&b=2", "U");
    answer = vbNo;
    TabLayout::SaveTabLayout(Path("three.tab"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Overwrite file?: The File already exists.\r\n\r\nOverwrite?");
    EXPECT_EQ(ReadFile("three.tab").find("nicode"), std::string::npos);
    answer = vbYes;
    TabLayout::SaveTabLayout(Path("three.tab"));
    EXPECT_EQ(ReadFile("three.tab"),
              "<Tab Layout File>\r\nhttp://127.0.0.1/zero\r\nhttp://127.0.0.1/tab1\r\nhttp://127.0.0.1/ünïcode?a=1&b=2\r\n");
}

TEST_F(TabLayoutTest, ALayoutThatCannotBeWrittenIsReportedAndAnOldFileStaysWhole) {
    WriteFile("plain-file", "");
    std::filesystem::create_directories(folder / "a-folder.tab");
    TabLayout::SaveTabLayout(Path("plain-file/inside.tab"));
    TabLayout::SaveTabLayout(Path("a-folder.tab"));
    std::size_t expected = 2;
    if (geteuid() != 0) {  // root writes into read-only folders
        const auto locked = folder / "locked";
        std::filesystem::create_directories(locked);
        WriteFile("locked/old.tab", "<Tab Layout File>\r\nhttp://127.0.0.1/old\r\n");
        chmod(locked.c_str(), 0555);
        TabLayout::SaveTabLayout((locked / "old.tab").string());
        chmod(locked.c_str(), 0755);
        EXPECT_EQ(ReadFile("locked/old.tab"), "<Tab Layout File>\r\nhttp://127.0.0.1/old\r\n");
        expected += 2;  // the overwrite question, then the failure
    }
    ASSERT_EQ(messages.size(), expected);
    for (std::size_t i : {std::size_t{0}, std::size_t{1}, expected - 1})
        EXPECT_EQ(messages[i].rfind("Save Tab Layout: The tab layout could not be saved.", 0), 0u) << messages[i];
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a-folder.tab"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "a-folder.tab"), {}), 0);
}

TEST_F(TabLayoutTest, RestoringReplacesTheTabsKeepingTabZeroAndTheStripScroll) {
    struct Case {
        const char* name;
        const char* text;  // nullptr: no file
        std::vector<std::string> tabs;
    } cases[] = {
        {"missing", nullptr, {"0 http://127.0.0.1/zero", "2 http://127.0.0.1/tab2", "3 http://127.0.0.1/tab3"}},
        {"wrong header", "<Tab Layout File> \r\nhttp://a/\r\n",
         {"0 http://127.0.0.1/zero", "2 http://127.0.0.1/tab2", "3 http://127.0.0.1/tab3"}},
        {"empty file", "", {"0 http://127.0.0.1/zero", "2 http://127.0.0.1/tab2", "3 http://127.0.0.1/tab3"}},
        {"header only", "<Tab Layout File>\r\n", {"0 http://127.0.0.1/zero"}},
        {"one address", "<TAB LAYOUT FILE>\r\nhttp://127.0.0.1/a\r\n", {"0 http://127.0.0.1/a"}},
        {"three with an empty line", "<tab layout file>\nhttp://127.0.0.1/a\n\nhttp://127.0.0.1/ç\n",
         {"0 http://127.0.0.1/a", "1 ", "2 http://127.0.0.1/ç"}},
        // A tab's address is never a script, however the line spells it.
        {"script lines", "<Tab Layout File>\r\njavascript:alert(1)\r\nhttp://127.0.0.1/a\r\n \x01JavaScript:x\r\nJava\tscript:y\r\n",
         {"0 about:blank", "1 http://127.0.0.1/a", "2 about:blank", "3 about:blank"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder / "layout.tab");
        if (c.text) WriteFile("layout.tab", c.text);
        OpenTabsUpTo(3);
        CurrentTab = 1;
        Main().DelTab();
        Browser(0).Navigate("http://127.0.0.1/zero");
        Main().Picture2.SetLeft(-2170);
        CurrentTab = 3;
        TabLayout::OpenTabLayout(Path("layout.tab"));
        EXPECT_EQ(Tabs(), c.tabs);
        EXPECT_EQ(Main().Picture2.Left(), -2170);
        if (c.tabs.size() != 3) {
            EXPECT_EQ(CurrentTab, 0);
        }
        // Leave only tab 0 for the next case.
        WriteFile("reset.tab", "<Tab Layout File>\r\nhttp://127.0.0.1/zero\r\n");
        TabLayout::OpenTabLayout(Path("reset.tab"));
        ASSERT_EQ(Main().WebBrowser1.UBound(), 0);
    }
}

}  // namespace
