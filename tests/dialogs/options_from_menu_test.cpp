#include <gtkmm/button.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../menus/menus_fixture.h"
#include "app/FrmMain.h"
#include "common/General.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmOptions.h"
#include "file_rights.h"
#include "platform/picture.h"

namespace {

namespace fs = std::filesystem;

// The skins drawn by the build, next to the program.
fs::path SampleSkins() {
    if (const char* program = std::getenv("QUELLIN_BINARY")) return fs::path(program).parent_path() / "skins";
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "skins";
}

class OptionsFromTheMenuTest : public MenusFixture {};

TEST_F(OptionsFromTheMenuTest, TheSkinChosenInTheDialogChangesTheWindowsFaceAtOnce) {
    ASSERT_TRUE(fs::is_directory(SampleSkins() / "Amber")) << "build the sample_skin target";
    fs::create_directories(folder / "skins");
    fs::copy(SampleSkins() / "Amber", folder / "skins" / "Amber", fs::copy_options::recursive);
    const auto titleBar = platform::LoadPicture((folder / "skins" / "Amber" / "titlebar.bmp").string()).Surface();
    auto face = [] { return testing_support::Pixel(frmMain->Picture4.Surface().ImageSurface(), 100, 10); };
    ASSERT_NE(face(), testing_support::Pixel(titleBar, 100, 10)) << "the built-in title bar looks like the sample's";

    Open(&FrmMain::Label2_Click, &FrmMain::Label2_MouseMove);
    Choose("Browser Options...");
    ASSERT_TRUE(frmOptions.Loaded());
    EXPECT_TRUE(frmOptions->Visible());
    FrmOptions& options = frmOptions.Get();
    const auto& folders = options.List2.Items();
    const int amber = static_cast<int>(std::find(folders.begin(), folders.end(), "Amber") - folders.begin());
    ASSERT_LT(amber, options.List2.ListCount());
    options.List1.SetListIndex(amber);
    EXPECT_EQ(options.Label6.Caption(), General::ReadIni((folder / "skins" / "Amber" / "skin.ini").string(), "name"));
    static_cast<Gtk::Button&>(options.Command2.Widget()).clicked();

    EXPECT_FALSE(frmOptions.Loaded());
    EXPECT_EQ(face(), testing_support::Pixel(titleBar, 100, 10));
    EXPECT_EQ(General::ReadIni((folder / "browser.ini").string(), "skin"), "skins\\Amber");
    EXPECT_EQ(messages, std::vector<std::string>{});
}

// The address list is saved before the dialog can reload it: when it cannot be,
// the user hears which file and why, and the dialog opens all the same.
TEST_F(OptionsFromTheMenuTest, BrowserOptionsSaysWhenTheAddressListCannotBeSavedAndOpens) {
    frmMain->Combo1.AddItem("http://127.0.0.1/typed");
    const std::string file = (folder / "autocomplete.dat").string();
    {
        testing_support::UnchangeableFolder readOnlyProgramFolder(folder);
        if (!readOnlyProgramFolder.Holds()) GTEST_SKIP() << "no way to lock a folder here";
        Open(&FrmMain::Label2_Click, &FrmMain::Label2_MouseMove);
        Choose("Browser Options...");
        EXPECT_TRUE(frmOptions.Loaded() && frmOptions->Visible());
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("The address list could not be saved to " + file + ".", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("Path/File access error: "), std::string::npos) << messages[0];
    frmOptions.Unload();

    messages.clear();
    Open(&FrmMain::Label2_Click, &FrmMain::Label2_MouseMove);
    Choose("Browser Options...");
    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_NE(ReadFile("autocomplete.dat").find("http://127.0.0.1/typed\r\n"), std::string::npos);
    frmOptions.Unload();
}

}  // namespace
