#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/Module2.h"
#include "platform/favorites_dialogs.h"
#include "platform/internet_shortcut.h"
#include "platform/msgbox.h"
#include "platform/shell_folders.h"
#include "test_support.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {
std::string WriteTemp(const std::string& name, const std::string& text) {
    const auto path = testing_support::TempRoot() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}
}  // namespace

// Shortcuts as shells write them: the URL key of the last [InternetShortcut] section.
TEST(InternetShortcutTest, ReadsTheUrlOfTheLastSection) {
    const struct {
        const char* text;
        const char* address;
    } cases[] = {
        {"[InternetShortcut]\r\nURL=http://a/\r\n", "http://a/"},
        {"[InternetShortcut]\nIDList=\nURL=http://b/\nHotKey=0\n", "http://b/"},
        {"[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n[InternetShortcut]\r\nModified=20F06BA0\r\nurl=http://c/\r\n", "http://c/"},
        {"[INTERNETSHORTCUT]\r\nURL=http://d/?a=b\r\n", "http://d/?a=b"},
        {"\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://e/\r\n", "http://e/"},
        {"[InternetShortcut]\r\nURL=http://old/\r\n[InternetShortcut]\r\nURL=http://new/\r\n", "http://new/"},
        {"[InternetShortcut]\r\nURL=http://first/\r\n[InternetShortcut]\r\nIconIndex=0\r\n", ""},
        {"[InternetShortcut]\r\nURL=http://f/\r\n[Other]\r\nURL=http://other/\r\n", "http://f/"},
        {"[InternetShortcut] \r\nURL=http://g/\r\n", ""},
        {"[InternetShortcut]\r\nIDList=\r\n", ""},
        {"URL=http://h/\r\n", ""},
        {"[InternetShortcut]\r\nBASEURL=http://i/\r\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadInternetShortcut(WriteTemp("case.url", c.text)), c.address);
    }
    EXPECT_EQ(ReadInternetShortcut((testing_support::TempRoot() / "missing.url").string()), "");
}

TEST(InternetShortcutTest, WritesWhatShellsWrite) {
    const auto file = (testing_support::TempRoot() / "written.url").string();
    ASSERT_TRUE(WriteInternetShortcut(file, "http://127.0.0.1/x"));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[InternetShortcut]\r\nURL=http://127.0.0.1/x\r\n");
    EXPECT_FALSE(WriteInternetShortcut((testing_support::TempRoot() / "no/such/folder.url").string(), "x"));
}

TEST(ShellTest, FavoriteFileNames) {
    const struct {
        std::string name, file;
    } cases[] = {
        {"News: today", "News: today"},
        {"a/b\\c", "ab\\c"},
        {std::string("nul\0byte", 8), "nulbyte"},
        {"tab\there\nline", "tabhereline"},
        {"  blanks  ", "blanks"},
        {".", ""},
        {"..", ""},
        {"/../..", "...."},
        {"", ""},
        {"...", "..."},
        {std::string(300, 'x'), std::string(251, 'x')},
    };
    for (const auto& c : cases) EXPECT_EQ(FavoriteFileName(c.name), c.file) << c.name;
}

TEST(ShellTest, TheFavoritesFolderIsMadeOnFirstUse) {
    const std::string expected = std::string(getenv("XDG_DATA_HOME")) + "/quellin/Favorites";
    ASSERT_FALSE(fs::exists(expected));
    EXPECT_EQ(Module2::FindSystemFolder(CSIDL_FAVORITES), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(Module2::FindSystemFolder(5), "");
}

TEST(ShellTest, NoFavoritesFolderWhereNoneCanBeMade) {
    const auto data = fs::path(getenv("XDG_DATA_HOME")) / "quellin";
    fs::create_directories(data);
    std::ofstream(data / "Favorites") << "a file in the way";
    EXPECT_EQ(Module2::FindSystemFolder(CSIDL_FAVORITES), "");
}

class FavoritesDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        favorites = (testing_support::TempRoot() / "Favorites").string();
        fs::create_directories(favorites + "/Tech/Linux");
        fs::create_directories(favorites + "/news");
        WriteInternetShortcut(favorites + "/Tech/GTK.url", "http://127.0.0.1/gtk");
        WriteInternetShortcut(favorites + "/Home.url", "http://127.0.0.1/home");
        SetMsgBoxResponder([this](const std::string& prompt, int, const std::string&) {
            asked.push_back(prompt);
            return answer;
        });
    }
    void TearDown() override { SetMsgBoxResponder(nullptr); }

    std::string favorites;
    std::vector<std::string> asked;
    int answer = vbYes;
};

TEST_F(FavoritesDialogTest, AddingOffersEveryFolderAndAsksBeforeReplacing) {
    AddFavoriteDialog add(favorites, "http://127.0.0.1/new", "New page", nullptr);
    EXPECT_EQ(add.Name(), "New page");
    EXPECT_EQ(add.Folders(), (std::vector<std::string>{favorites, favorites + "/news", favorites + "/Tech",
                                                        favorites + "/Tech/Linux"}));
    add.SetFolder(2);
    add.SetName("GTK");
    answer = vbNo;
    add.Accept();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(ReadInternetShortcut(favorites + "/Tech/GTK.url"), "http://127.0.0.1/gtk");
    answer = vbYes;
    add.Accept();
    EXPECT_EQ(ReadInternetShortcut(favorites + "/Tech/GTK.url"), "http://127.0.0.1/new");

    add.SetName("..");
    add.Accept();
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_FALSE(fs::exists(favorites + "/Tech/...url"));
}

TEST_F(FavoritesDialogTest, OrganisingStaysInsideTheFavoritesFolder) {
    OrganizeFavoritesDialog organise(favorites, nullptr);
    EXPECT_EQ(organise.Entries(), (std::vector<std::string>{"news/", "Tech/", "Tech/Linux/", "Tech/GTK", "Home"}));

    ASSERT_TRUE(organise.Select("Tech"));
    EXPECT_TRUE(organise.NewFolder("Old"));
    ASSERT_TRUE(organise.Select("Home"));
    EXPECT_TRUE(organise.RenameSelected("Start"));
    ASSERT_TRUE(organise.Select("Start"));
    EXPECT_TRUE(organise.MoveSelectedTo("Tech/Old"));
    EXPECT_EQ(ReadInternetShortcut(favorites + "/Tech/Old/Start.url"), "http://127.0.0.1/home");

    // Names that would leave the folder, and a folder moved into itself, are refused.
    ASSERT_TRUE(organise.Select("Tech/GTK"));
    EXPECT_TRUE(organise.RenameSelected("../../GTK"));
    EXPECT_TRUE(fs::exists(favorites + "/Tech/....GTK.url"));
    ASSERT_TRUE(organise.Select("Tech/....GTK"));
    EXPECT_FALSE(organise.RenameSelected(".."));
    ASSERT_TRUE(organise.Select("Tech"));
    EXPECT_FALSE(organise.MoveSelectedTo("Tech/Linux"));
    EXPECT_FALSE(organise.MoveSelectedTo("../.."));
    EXPECT_TRUE(fs::is_directory(favorites + "/Tech"));

    // Delete asks first.
    answer = vbNo;
    ASSERT_TRUE(organise.Select("news"));
    EXPECT_FALSE(organise.DeleteSelected());
    EXPECT_TRUE(fs::exists(favorites + "/news"));
    answer = vbYes;
    EXPECT_TRUE(organise.DeleteSelected());
    EXPECT_EQ(organise.Entries(),
              (std::vector<std::string>{"Tech/", "Tech/Linux/", "Tech/Old/", "Tech/Old/Start", "Tech/....GTK"}));
}
