#include <glibmm/main.h>
#include <gtkmm/clipboard.h>
#include <gtkmm/entry.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/Dialogs.h"
#include "dialogs/FrmAddLaunch.h"
#include "dialogs/FrmLaunch.h"
#include "dialogs_fixture.h"
#include "menus/FrmMenu.h"
#include "menus/MenuState.h"
#include "platform/common_dialog.h"
#include "platform/shell.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

class LaunchTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        platform::SetFileDialogResponder([this](const platform::FileDialogRequest& request) {
            requests.push_back(request.title + " | " + request.filter);
            return chosenFile;
        });
        Start();
    }
    void TearDown() override {
        platform::SetFileDialogResponder(nullptr);
        DialogTest::TearDown();
    }

    // Adds an entry through the add dialog, as the user fills it in.
    void Add(const std::string& name, const std::string& path) {
        Glib::signal_timeout().connect_once(
            [=] {
                frmAddLaunch->Text1.SetText(name);
                frmAddLaunch->Text2.SetText(path);
                Press(frmAddLaunch->Command1);
            },
            20);
        Press(frmLaunch->Command1);
    }

    std::vector<std::string> requests;
    std::optional<std::string> chosenFile;
};

TEST_F(LaunchTest, EntriesAreAddedAtTheEndRemovedBySelectionAndSavedOnClose) {
    WriteFile("launch.dat", "A\r\na.exe\r\nB\r\nb.exe\r\n");
    frmLaunch->Show();
    Add("C", "c.exe");
    EXPECT_FALSE(frmAddLaunch.Loaded());
    Press(frmLaunch->Command2);  // nothing selected: nothing removed
    EXPECT_EQ(frmLaunch->lstNameList.Items(), (std::vector<std::string>{"A", "B", "C"}));
    frmLaunch->lstNameList.SetListIndex(0);
    Press(frmLaunch->Command2);
    EXPECT_EQ(frmLaunch->lstNameList.Items(), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(frmLaunch->lstPathList.Items(), (std::vector<std::string>{"b.exe", "c.exe"}));
    EXPECT_EQ(ReadFile("launch.dat"), "A\r\na.exe\r\nB\r\nb.exe\r\n") << "only Close writes the file";
    Press(frmLaunch->Command3);
    EXPECT_EQ(ReadFile("launch.dat"), "B\r\nb.exe\r\nC\r\nc.exe\r\n");
    EXPECT_FALSE(frmLaunch.Loaded());
}

TEST_F(LaunchTest, ClosingByAWindowManagersCloseButtonSavesAsCloseDoes) {
    WriteFile("launch.dat", "A\r\na.exe\r\n");
    frmLaunch->Show();
    Add("B", "b.exe");
    gtk_window_close(frmLaunch->Window().gobj());
    ASSERT_TRUE(testing_support::Pump([] { return !frmLaunch.Loaded(); }));
    EXPECT_EQ(ReadFile("launch.dat"), "A\r\na.exe\r\nB\r\nb.exe\r\n");
}

TEST_F(LaunchTest, TheFileIsReadInPairsWhateverItsShape) {
    const struct {
        const char* name;
        std::optional<std::string> file;
        std::vector<std::string> names;
        std::vector<std::string> paths;
        std::string saved;
    } cases[] = {
        {"no file", std::nullopt, {}, {}, ""},
        {"an empty file", "", {}, {}, ""},
        {"a lone name at the end", "A\r\na\r\nB\r\n", {"A", "B"}, {"a", ""}, "A\r\na\r\nB\r\n\r\n"},
        {"blanks and commas kept as they stand", " x, y \n/usr/bin/x --go\n", {" x, y "}, {"/usr/bin/x --go"},
         " x, y \r\n/usr/bin/x --go\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(folder / "launch.dat");
        if (c.file) WriteFile("launch.dat", *c.file);
        EXPECT_EQ(frmLaunch->lstNameList.Items(), c.names);
        EXPECT_EQ(frmLaunch->lstPathList.Items(), c.paths);
        Press(frmLaunch->Command3);
        EXPECT_EQ(ReadFile("launch.dat"), c.saved);
    }
}

TEST_F(LaunchTest, TheAddDialogNeedsBothTextsAndBrowseFillsOnlyThePath) {
    frmLaunch->Show();
    FrmAddLaunch& add = frmAddLaunch.Get();
    for (const auto& [name, path] : {std::pair{"", "/bin/x"}, std::pair{"X", ""}}) {
        add.Text1.SetText(name);
        add.Text2.SetText(path);
        Press(add.Command1);
        EXPECT_TRUE(frmAddLaunch.Loaded());
    }
    EXPECT_EQ(frmLaunch->lstNameList.ListCount(), 0);

    add.Text1.SetText("Editor");
    add.Text2.SetText("typed");
    Press(add.Command3);  // cancelled
    EXPECT_EQ(add.Text2.Text(), "typed");
    chosenFile = "/usr/bin/editor";
    Press(add.Command3);
    EXPECT_EQ(add.Text1.Text(), "Editor");
    EXPECT_EQ(add.Text2.Text(), "/usr/bin/editor");
    EXPECT_EQ(requests, std::vector<std::string>(2, "Add to launch menu | Applications (*.exe)|*.exe|All files (*.*)|*.*"));

    Press(add.Command2);
    EXPECT_FALSE(frmAddLaunch.Loaded());
    EXPECT_EQ(frmLaunch->lstNameList.ListCount(), 0) << "Cancel adds nothing";
}

// A program chosen with Browse... starts from its launch entry whatever its path
// holds; a plain path is put into the command line as it is.
TEST_F(LaunchTest, AProgramChosenWithBrowseStartsWhateverItsPathHolds) {
    fs::create_directories(folder / "my programs");
    const struct {
        std::string name;
        bool quoted;
    } cases[] = {{"editor", false}, {"my programs/editor", true}, {"it's", true}, {"say \"hi\"\\now", true}};
    frmLaunch->Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path program = folder / c.name;
        const fs::path started = program.string() + ".started";
        {
            std::ofstream script(program);
            script << "#!/bin/sh\ntouch \"$0.started\"\n";
        }
        fs::permissions(program, fs::perms::owner_all);
        chosenFile = program.string();
        FrmAddLaunch& add = frmAddLaunch.Get();
        add.Text1.SetText(c.name);
        Press(add.Command3);
        EXPECT_EQ(add.Text2.Text() != program.string(), c.quoted) << add.Text2.Text();
        Press(add.Command1);
        const std::string command = frmLaunch->lstPathList.List(frmLaunch->lstPathList.ListCount() - 1);
        ASSERT_NO_THROW(platform::Shell(command)) << command;
        EXPECT_TRUE(testing_support::Pump([&] { return fs::exists(started); })) << command;
    }
}

TEST_F(LaunchTest, ALaunchMenuThatCannotBeSavedIsSaidSoAndTheEditsStay) {
    frmLaunch->Show();
    Add("C", "c.exe");
    fs::create_directories(folder / "launch.dat" / "in-the-way");
    Press(frmLaunch->Command3);
    EXPECT_EQ(messages, std::vector<std::string>{"Customise Launch Menu: The launch menu could not be saved."});
    ASSERT_TRUE(frmLaunch.Loaded());
    EXPECT_EQ(frmLaunch->lstNameList.Items(), std::vector<std::string>{"C"});

    fs::remove_all(folder / "launch.dat");
    Press(frmLaunch->Command3);
    EXPECT_FALSE(frmLaunch.Loaded());
    EXPECT_EQ(ReadFile("launch.dat"), "C\r\nc.exe\r\n");
}

// Pastes the text into the text box, as the user's paste does.
void Paste(platform::TextBox& box, const std::string& text) {
    auto& entry = static_cast<Gtk::Entry&>(box.Widget());
    Gtk::Clipboard::get()->set_text(text);
    entry.set_text("");
    entry.paste_clipboard();
    ASSERT_TRUE(testing_support::Pump([&] { return !entry.get_text().empty(); }));
}

TEST_F(LaunchTest, PastedLineBreaksAreWrittenAsBlanksAndTheLaunchMenuStillOpens) {
    WriteFile("launch.dat", "A\r\na.exe\r\n");
    frmLaunch->Show();
    Glib::signal_timeout().connect_once(
        [this] {
            Paste(frmAddLaunch->Text1, "My\r\nEditor\n");
            Paste(frmAddLaunch->Text2, "editor\n--new-window\rnotes.txt");
            Press(frmAddLaunch->Command1);
        },
        20);
    Press(frmLaunch->Command1);
    Press(frmLaunch->Command3);
    EXPECT_EQ(ReadFile("launch.dat"), "A\r\na.exe\r\nMy Editor \r\neditor --new-window notes.txt\r\n");

    MenuMode = 1;
    frmMain->Label3_MouseMove();
    EXPECT_TRUE(frmMenu.Loaded()) << "the launch menu does not open";
    EXPECT_EQ(frmMain->lstLaunchNames.Items(), (std::vector<std::string>{"A", "My Editor "}));
    EXPECT_EQ(frmMain->lstLaunchRun.List(1), "editor --new-window notes.txt");
    frmMenu.Unload();
    MenuMode = 0;
}

}  // namespace
