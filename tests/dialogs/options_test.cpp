#include <cairomm/context.h>
#include <glibmm/main.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/FrmMain.h"
#include "app/State.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmFilter.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmOptions.h"
#include "dialogs_fixture.h"

namespace {

namespace fs = std::filesystem;
using platform::OptionButton;

class OptionsTest : public DialogTest {
protected:
    // A skin folder under skins/ with the files given ("" leaves a file out).
    void PutSkin(const std::string& folderName, const std::string& skinIni, int previewSide) {
        const fs::path skin = folder / "skins" / folderName;
        fs::create_directories(skin);
        if (!skinIni.empty()) WriteFile("skins/" + folderName + "/skin.ini", skinIni);
        if (previewSide > 0) {
            auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, previewSide, previewSide);
            Cairo::Context::create(surface)->paint();
            surface->write_to_png((skin / "preview.bmp").string());
        }
    }

    // The state of every setting's controls, in one line.
    std::string Shown() {
        FrmOptions& f = frmOptions.Get();
        auto selected = [](std::initializer_list<OptionButton*> group) {
            std::string digit = "-";
            int index = 0;
            for (OptionButton* option : group) {
                if (option->Value()) digit = std::to_string(index);
                ++index;
            }
            return digit;
        };
        return "newtab " + selected({&f.Option1, &f.Option2}) + " history " + std::to_string(f.Check1.Value()) +
               " search " + std::to_string(f.Check2.Value()) + " default " +
               selected({&f.Option3, &f.Option4, &f.Option5}) + " [" + f.Text1.Text() + "]" +
               (f.Text1.Enabled() ? " typing" : "") + " site [" + f.Text2.Text() + "] popups " +
               selected({&f.Option6, &f.Option7, &f.Option8, &f.Option9}) + " paint " + std::to_string(f.Check3.Value()) +
               " skin " + f.labSkinTemp.Caption() + " noauto " + std::to_string(f.Check4.Value()) + " cookies " +
               selected({&f.Option10, &f.Option11, &f.Option12, &f.Option13}) +
               (f.Command5.Enabled() ? " filters" : "");
    }

    // browser.ini as the dialog writes it, from its blocks ("" leaves one out).
    static std::string Ini(const std::string& skin, const std::string& history, const std::string& searchTab,
                           const std::string& search, const char* defaultPage, const char* popups,
                           const std::string& paint, const char* newTab, const std::string& autoComplete,
                           const char* cookieTrap) {
        std::string text;
        auto block = [&](const std::string& header, const char* value) {
            if (value) text += header + "\r\n" + value + "\r\n\r\n";
        };
        block("[Skin]", skin.c_str());
        block("[History]", history.c_str());
        block("[SearchTab]", searchTab.c_str());
        block("[Search]", search.c_str());
        block("[Default]", defaultPage);
        block("[Popups]", popups);
        block("[Paint]", paint.c_str());
        block("[NewTab]", newTab);
        block("[AutoComplete]", autoComplete.c_str());
        block("[CookieTrap]", cookieTrap);
        return text + "\r\n";
    }
};

TEST_F(OptionsTest, SettingsShowInTheControlsAndOkWritesThemBack) {
    const struct {
        const char* name;
        std::string ini;
        const char* shown;
        std::string written;
    } cases[] = {
        {"every group set",
         Ini("default", " 1", " 0", "http://search.example.org/?q=", "home", "2", " 1", "1", " 0", "3"),
         "newtab 1 history 1 search 0 default 0 [] site [http://search.example.org/?q=] popups 2 paint 1 skin default "
         "noauto 0 cookies 3 filters",
         Ini("default", " 1", " 0", "http://search.example.org/?q=", "home", "2", " 1", "1", " 0", "3")},
        {"home in capitals, the other options",
         Ini("default", " 0", " 1", "", "HOME", "0", " 0", "0", " 1", "0"),
         "newtab 0 history 0 search 1 default 0 [] site [] popups 0 paint 0 skin default noauto 1 cookies 0",
         Ini("default", " 0", " 1", "", "home", "0", " 0", "0", " 1", "0")},
        {"a blank page, the middle options",
         Ini("default", " 0", " 0", "", "About:Blank", "1", " 0", "0", " 0", "1"),
         "newtab 0 history 0 search 0 default 1 [] site [] popups 1 paint 0 skin default noauto 0 cookies 1",
         Ini("default", " 0", " 0", "", "about:blank", "1", " 0", "0", " 0", "1")},
        {"an address of one's own, ask about pop-ups, confirm cookies",
         Ini("default", " 0", " 0", "", "http://www.example.org/", "3", " 0", "0", " 0", "2"),
         "newtab 0 history 0 search 0 default 2 [http://www.example.org/] typing site [] popups 3 paint 0 skin default "
         "noauto 0 cookies 2",
         Ini("default", " 0", " 0", "", "http://www.example.org/", "3", " 0", "0", " 0", "2")},
        {"an empty default page and modes out of range",
         Ini("default", " 0", " 0", "", "", "9", " 0", "5", " 0", "7"),
         "newtab 1 history 0 search 0 default 2 [] typing site [] popups - paint 0 skin default noauto 0 cookies - "
         "filters",
         Ini("default", " 0", " 0", "", "", nullptr, " 0", "1", " 0", nullptr)},
        {"no settings file at all", "",
         "newtab 0 history 0 search 0 default 2 [] typing site [] popups 0 paint 0 skin  noauto 0 cookies 0",
         Ini("", " 0", " 0", "", "", "0", " 0", "0", " 0", "0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(folder / "browser.ini");
        if (!c.ini.empty()) WriteFile("browser.ini", c.ini);
        if (frmMain.Loaded()) frmMain->LoadIni();
        else Start();
        frmOptions->Show();
        EXPECT_EQ(Shown(), c.shown);
        Press(frmOptions->Command2);
        EXPECT_FALSE(frmOptions.Loaded()) << "OK closes the dialog";
        EXPECT_EQ(ReadFile("browser.ini"), c.written);
    }
    EXPECT_EQ(messages, std::vector<std::string>{});
}

TEST_F(OptionsTest, OkAppliesTheChangedSettingsAtOnce) {
    Start();
    frmOptions->Show();
    frmOptions->Option9.SetValue(true);
    frmOptions->Option13.SetValue(true);
    frmOptions->Option4.SetValue(true);
    frmOptions->Text2.SetText("http://find.example.org/");
    Press(frmOptions->Command2);
    EXPECT_EQ(Settings.PopupMode, 3);
    EXPECT_EQ(Settings.CookieTrapMode, 3);
    EXPECT_EQ(Settings.DefaultPage, "about:blank");
    EXPECT_EQ(Settings.SearchPage, "http://find.example.org/");
}

TEST_F(OptionsTest, TheTextBoxOfMyChoiceIsUsableOnlyWhileThatOptionIsSelected) {
    Start();
    FrmOptions& f = frmOptions.Get();
    for (OptionButton* option : {&f.Option5, &f.Option3, &f.Option5, &f.Option4}) {
        option->SetValue(true);
        const bool mine = option == &f.Option5;
        EXPECT_EQ(f.Text1.Enabled(), mine);
        EXPECT_EQ(f.Text1.BackColor(), mine ? platform::vbWindowBackground : platform::vbButtonFace);
    }
    for (OptionButton* option : {&f.Option13, &f.Option10, &f.Option13, &f.Option12}) {
        option->SetValue(true);
        EXPECT_EQ(f.Command5.Enabled(), option == &f.Option13);
    }
}

TEST_F(OptionsTest, EditFiltersShowsTheWordFilterEditorModallyOverTheDialog) {
    Start();
    bool shownModal = false;
    Glib::signal_timeout().connect_once(
        [&] {
            shownModal = frmFilter.Loaded() && frmFilter->ShownModal();
            frmFilter.Unload();
        },
        50);
    Press(frmOptions->Command5);
    EXPECT_TRUE(shownModal);
    EXPECT_FALSE(frmFilter.Loaded()) << "the click returns once the editor has closed";
    EXPECT_TRUE(frmOptions.Loaded());
}

TEST_F(OptionsTest, TheSkinListShowsEachFoldersNameDescriptionAndPreviewAsPlainText) {
    PutSkin("Amber", "[name]\r\nAmber\r\n[description]\r\nWarm\r\n", 10);
    PutSkin("markup", "[name]\r\n<b>Bold</b>\tname\x1b\r\n[description]\r\n<i>x</i>\r\n", 0);
    PutSkin("NoIni", "", 20);
    PutSkin("NoPreview", "[name]\r\nNo preview\r\n", 0);
    Start();
    FrmOptions& f = frmOptions.Get();
    EXPECT_EQ(f.List1.Items(), (std::vector<std::string>{"Default", "Amber", "<b>Bold</b> name ", "", "No preview"}));
    EXPECT_EQ(f.List2.Items(), (std::vector<std::string>{"default", "Amber", "markup", "NoIni", "NoPreview"}));
    EXPECT_EQ(f.List1.ListIndex(), -1) << "no entry is selected";
    const int builtinSide = f.Image1.GetPicture().PixelWidth();

    const struct {
        int index;
        const char* folder;
        const char* name;
        const char* description;
        int previewSide;  // 0: the built-in preview
    } picks[] = {
        {1, "skins\\Amber", "Amber", "Warm", 10},
        {2, "skins\\markup", "<b>Bold</b> name ", "<i>x</i>", 10},  // no preview: the last one stays
        {3, "skins\\NoIni", "", "", 20},
        {4, "skins\\NoPreview", "No preview", "", 20},
        {0, "default", "Default", "Default Quellin Skin. Included with Version 0.6a onwards.", 0},
    };
    for (const auto& pick : picks) {
        f.List1.SetListIndex(pick.index);
        platform::DoEvents();
        EXPECT_EQ(f.labSkinTemp.Caption(), pick.folder);
        EXPECT_EQ(f.Label6.Caption(), pick.name);
        EXPECT_EQ(f.Label7.Caption(), pick.description);
        EXPECT_EQ(f.Image1.GetPicture().PixelWidth(), pick.previewSide ? pick.previewSide : builtinSide) << pick.folder;
    }
}

TEST_F(OptionsTest, PickingTheBuiltInSkinOverAnotherAsksForARestartOnce) {
    PutSkin("Amber", "[name]\r\nAmber\r\n", 10);
    WriteFile("browser.ini", Ini("skins\\Amber", " 0", " 0", "", "home", "0", " 0", "0", " 0", "0"));
    Start();
    frmOptions->List1.SetListIndex(0);
    frmOptions->List1.SetListIndex(0);  // the name shown is now "Default": no restart needed
    EXPECT_EQ(SkinNeedsRestart, 0);
    frmOptions->List1.SetListIndex(1);
    frmOptions->List1.SetListIndex(0);
    Press(frmOptions->Command2);
    EXPECT_EQ(Settings.SkinFolder, "default");
    ASSERT_EQ(messages, std::vector<std::string>{
                            "Quellin Information: You will need to restart Quellin to display the skin you have selected."});
    frmOptions->Show();
    Press(frmOptions->Command2);
    EXPECT_EQ(messages.size(), 1u) << "a later OK without a pick asks nothing";
}

TEST_F(OptionsTest, CancelLeavesTheFileAndTheSkinAlone) {
    PutSkin("Amber", "[name]\r\nAmber\r\n", 10);
    const std::string ini = Ini("default", " 0", " 0", "", "home", "0", " 0", "0", " 0", "0");
    WriteFile("browser.ini", ini);
    Start();
    for (auto close : {+[] { Press(frmOptions->Command1); }, +[] { frmOptions->Unload(); }}) {
        frmOptions->List1.SetListIndex(1);
        frmOptions->Option13.SetValue(true);
        close();
        platform::DoEvents();
        EXPECT_FALSE(frmOptions.Loaded());
        EXPECT_EQ(ReadFile("browser.ini"), ini);
        EXPECT_EQ(Settings.SkinFolder, "default");
        EXPECT_EQ(Settings.CookieTrapMode, 0);
    }
}

TEST_F(OptionsTest, ASettingsFileThatCannotBeWrittenIsSaidSoAndTheDialogStays) {
    Start();
    fs::create_directories(folder / "browser.ini" / "in-the-way");
    frmOptions->Option13.SetValue(true);
    Press(frmOptions->Command2);
    EXPECT_TRUE(frmOptions.Loaded());
    EXPECT_TRUE(frmOptions->Option13.Value());
    EXPECT_EQ(messages, std::vector<std::string>{"Quellin Options: The settings could not be saved."});
}

// Marks a file so that nobody, the superuser included, can delete it.
bool MakeUndeletable(const fs::path& file, bool undeletable) {
    const int fd = open(file.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = undeletable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return done;
}

TEST_F(OptionsTest, ClearingTheHistoryDeletesEveryPageItCanAndSaysHowManyItCouldNot) {
    Start();
    Press(frmOptions->Command3);  // no history folder: nothing happens
    fs::create_directories(folder / "history" / "kept folder");
    for (const char* page : {"01 May 2026.htm", "02 May 2026.htm", "stuck.htm"}) WriteFile(std::string("history/") + page, "x");
    if (!MakeUndeletable(folder / "history" / "stuck.htm", true))
        GTEST_SKIP() << "this file system cannot make a file undeletable";
    Press(frmOptions->Command3);
    MakeUndeletable(folder / "history" / "stuck.htm", false);

    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder / "history")) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"kept folder", "stuck.htm"}));
    EXPECT_EQ(messages, std::vector<std::string>{"Quellin Options: 1 history page could not be deleted."});
    EXPECT_TRUE(frmOptions.Loaded()) << "the dialog stays usable";
}

TEST_F(OptionsTest, ClearingTheAddressListEmptiesItsFileOrSaysItCouldNot) {
    WriteFile("autocomplete.dat", "http://a.example.org/\r\n");
    Start();
    Press(frmOptions->Command4);
    EXPECT_TRUE(fs::exists(folder / "autocomplete.dat"));
    EXPECT_EQ(ReadFile("autocomplete.dat"), "");
    EXPECT_EQ(frmMain->Combo1.ListCount(), 1) << "the address bar keeps its list until OK reloads it";
    EXPECT_TRUE(messages.empty());

    fs::remove(folder / "autocomplete.dat");
    fs::create_directories(folder / "autocomplete.dat" / "in-the-way");
    Press(frmOptions->Command4);
    EXPECT_EQ(messages, std::vector<std::string>{"Quellin Options: The address bar's list could not be cleared."});
    EXPECT_TRUE(frmOptions.Loaded());
}

}  // namespace
