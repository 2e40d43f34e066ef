#include "cookie_fixture.h"

#include "cookies/FrmFilter.h"
#include "file_rights.h"

namespace {

class FilterEditor : public CookieTest {
protected:
    void SetUp() override {
        CookieTest::SetUp();
        WriteFile("filter.dat", "tracker\r\nads\r\nBanner\r\n");
        Start("about:blank");
    }

    FrmFilter& Editor() { return frmFilter.Get(); }

    void Add(const std::string& word) {
        Editor().Text1.SetText(word);
        Editor().Command2_Click();
    }
};

TEST_F(FilterEditor, EditsTheWordsAndRewritesTheFileAfterEachChange) {
    EXPECT_EQ(Editor().lstFilter.Items(), (std::vector<std::string>{"ads", "Banner", "tracker"}));

    Add("Zap");
    Add("web bug");
    EXPECT_EQ(ReadFile("filter.dat"), "ads\r\nBanner\r\ntracker\r\nZap\r\nweb bug\r\n");
    EXPECT_EQ(Editor().Text1.Text(), "");

    WriteFile("filter.dat", "stale");
    Add("TRACKER");  // already listed, letter case ignored
    EXPECT_EQ(Editor().lstFilter.ListCount(), 5);
    EXPECT_EQ(Editor().Text1.Text(), "");
    EXPECT_EQ(ReadFile("filter.dat"), "ads\r\nBanner\r\ntracker\r\nZap\r\nweb bug\r\n") << "rewritten all the same";
    Add("");
    EXPECT_EQ(Editor().lstFilter.ListCount(), 5);

    Editor().lstFilter.SetSelected(1, true);
    Editor().lstFilter.SetSelected(3, true);
    Editor().Command1_Click();
    EXPECT_EQ(Editor().lstFilter.Items(), (std::vector<std::string>{"ads", "tracker", "web bug"}));
    EXPECT_EQ(ReadFile("filter.dat"), "ads\r\ntracker\r\nweb bug\r\n");
    EXPECT_EQ(frmMain->lstFilter.ListCount(), 3) << "the program's list changes only on Close";

    Add("Cookie");
    Editor().Command3_Click();
    EXPECT_FALSE(frmFilter.Loaded());
    EXPECT_EQ(frmMain->lstFilter.Items(), (std::vector<std::string>{"ads", "Cookie", "tracker", "web bug"}));

    for (int i = 0; i < 4; ++i) Editor().lstFilter.SetSelected(i, true);
    Editor().Command1_Click();
    EXPECT_EQ(ReadFile("filter.dat"), "");
    frmMain->LoadIni();
    EXPECT_EQ(frmMain->lstFilter.ListCount(), 0) << "an empty file reads back as no words";
}

TEST_F(FilterEditor, AFileThatCannotBeWrittenKeepsTheWordsAndSaysSoOnce) {
    AnswerMessages(platform::vbOK);
    Editor();
    // Nothing can be renamed over a folder, whoever runs the test.
    std::filesystem::remove(folder / "filter.dat");
    std::filesystem::create_directories(folder / "filter.dat" / "inside");
    Add("first");
    Add("second");
    Editor().lstFilter.SetSelected(0, true);
    Editor().Command1_Click();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Cookie Filters");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "filter.dat" / "inside"));
    EXPECT_EQ(Editor().lstFilter.Items(), (std::vector<std::string>{"Banner", "tracker", "first", "second"}));
    Editor().Command3_Click();
    EXPECT_EQ(frmMain->lstFilter.Items(), (std::vector<std::string>{"Banner", "first", "second", "tracker"}));
    std::filesystem::remove_all(folder / "filter.dat");
}

TEST_F(FilterEditor, AListThatCouldNotBeReadIsNeverWrittenOverAndTheUserIsTold) {
    AnswerMessages(platform::vbOK);
    // Writable, but not readable when the program starts.
    std::filesystem::permissions(folder / "filter.dat", std::filesystem::perms::owner_write);
    testing_support::WithoutFilePrivileges([] { frmMain->LoadIni(); });
    EXPECT_EQ(frmMain->lstFilter.ListCount(), 0);

    Add("new");
    Editor().lstFilter.SetSelected(0, true);
    Editor().Command1_Click();
    ASSERT_EQ(messages.size(), 1u) << "told once";
    EXPECT_NE(messages[0].prompt.find("could not be read"), std::string::npos) << messages[0].prompt;
    std::filesystem::permissions(folder / "filter.dat", std::filesystem::perms::owner_read, std::filesystem::perm_options::add);
    EXPECT_EQ(ReadFile("filter.dat"), "tracker\r\nads\r\nBanner\r\n");

    // Read again, it is the program's to write.
    Editor().Command3_Click();
    frmMain->LoadIni();
    Add("later");
    EXPECT_EQ(ReadFile("filter.dat"), "ads\r\nBanner\r\ntracker\r\nlater\r\n");
}

}  // namespace
