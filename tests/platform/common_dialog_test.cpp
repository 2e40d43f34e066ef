#include <gtest/gtest.h>
#include <glibmm/spawn.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>
#include <glibmm/main.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/common_dialog.h"
#include "platform/error.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::CommonDialog;

TEST(CommonDialogFilter, SplitsNamesAndPatternsAndMatchesIgnoringCase) {
    const auto filters = platform::ParseFilter("Web Pages (*.htm;*.html)|*.htm;*.html|All files (*.*)|*.*");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "Web Pages (*.htm;*.html)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.htm", "*.html"}));
    struct Case {
        int filter;
        const char* name;
        bool matches;
    } cases[] = {
        {0, "index.htm", true}, {0, "INDEX.HTML", true}, {0, "notes.txt", false}, {0, "htm", false},
        {0, "caf\xE9.HTM", true},  {0, "caf\xE9.txt", false}, {0, "\xFF\xFE", false},
        {1, "README", true},    {1, "a.b.c", true},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::MatchesFilter(filters[c.filter], c.name), c.matches) << c.name;
    EXPECT_TRUE(platform::ParseFilter("").empty());
    EXPECT_EQ(platform::ParseFilter("Tab Layouts (*.tab)|*.tab|dangling").size(), 1u);
}

// The file chooser on the screen, once its folder has loaded, or nullptr.
Gtk::FileChooserDialog* OpenChooser() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
        auto* chooser = dynamic_cast<Gtk::FileChooserDialog*>(window);
        if (chooser && chooser->get_visible() && !chooser->get_current_folder().empty()) return chooser;
    }
    return nullptr;
}

// Sends real keystrokes to the window that has the keyboard, while the main loop
// runs between them: the chooser answers each key (completion included) as it comes.
void Type(const std::vector<std::string>& xdotoolArguments) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), xdotoolArguments.begin(), xdotoolArguments.end());
    GPid pid = 0;
    Glib::spawn_async("", argv, Glib::SPAWN_SEARCH_PATH | Glib::SPAWN_DO_NOT_REAP_CHILD, Glib::SlotSpawnChildSetup(), &pid);
    bool ended = false;
    Glib::signal_child_watch().connect(
        [&ended](GPid child, int) {
            Glib::spawn_close_pid(child);
            ended = true;
        },
        pid);
    ASSERT_TRUE(testing_support::Pump([&] { return ended; }));
}

// The names of the files the chooser lists in its folder, as they stand now.
std::vector<std::string> ListedNames(Gtk::Widget& widget) {
    if (auto* view = dynamic_cast<Gtk::TreeView*>(&widget)) {
        std::vector<std::string> names;
        auto model = view->get_model();
        if (!model) return names;
        int fileColumn = -1;
        for (int column = 0; column < model->get_n_columns(); ++column)
            if (model->get_column_type(column) == G_TYPE_FILE) fileColumn = column;
        if (fileColumn < 0) return names;
        for (const auto& row : model->children()) {
            GFile* file = nullptr;
            GtkTreeIter iter = *row.gobj();
            gtk_tree_model_get(model->gobj(), &iter, fileColumn, &file, -1);
            if (!file) continue;
            const std::unique_ptr<char, decltype(&g_free)> name(g_file_get_basename(file), &g_free);
            g_object_unref(file);
            names.push_back(name.get());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    if (auto* container = dynamic_cast<Gtk::Container*>(&widget))
        for (Gtk::Widget* child : container->get_children()) {
            auto names = ListedNames(*child);
            if (!names.empty()) return names;
        }
    return {};
}

// A person at the chooser: looks at the filter it shows, waits for it to list the
// expected files, then types into its location bar and presses Enter.
struct ChooserUser {
    std::vector<std::string> expectListed;
    std::vector<std::string> keys;  // what to type: a folder, then a file's name, letter by letter
    std::string seenFilter;
    std::vector<std::string> seenListed;
    bool answeredByEnter = false;

    void ActWhenOpen() {
        Glib::signal_timeout().connect(
            [this] {
                Gtk::FileChooserDialog* chooser = OpenChooser();
                if (!chooser) return true;
                if (chooser->get_filter()) seenFilter = chooser->get_filter()->get_name();
                testing_support::Pump([&] { return (seenListed = ListedNames(*chooser)) == expectListed; });
                chooser->present();
                EXPECT_TRUE(testing_support::Pump([&] { return chooser->has_toplevel_focus(); }));
                for (const auto& text : keys) Type({"type", "--delay", "40", text});
                bool answered = false;
                chooser->signal_response().connect([&answered](int) { answered = true; });
                Type({"key", "Return"});
                answeredByEnter = testing_support::Pump([&] { return answered; }, 3000);
                if (!answeredByEnter) chooser->response(Gtk::RESPONSE_CANCEL);
                return false;
            },
            50);
    }
};

// Save dialogs propose the previous name; the user answers or cancels.
struct ChooserScript {
    std::string seenTitle, seenName, seenFolder;
    std::vector<std::string> filterNames;
    std::string typeName;  // "" to cancel
    bool done = false;

    void RunWhenOpen() {
        Glib::signal_timeout().connect(
            [this] {
                Gtk::FileChooserDialog* chooser = OpenChooser();
                if (!chooser) return true;
                seenTitle = chooser->get_title();
                seenFolder = chooser->get_current_folder();
                for (const auto& filter : chooser->list_filters()) filterNames.push_back(filter->get_name());
                if (typeName.empty()) {
                    chooser->response(Gtk::RESPONSE_CANCEL);
                } else {
                    seenName = chooser->get_current_name();
                    chooser->set_current_name(typeName);
                    chooser->response(Gtk::RESPONSE_ACCEPT);
                }
                done = true;
                return false;
            },
            50);
    }
};

// Each file dialog of the program, used as a person does: the first filter is chosen and
// lists only its files, whatever their names' letter case or encoding; a path typed into
// the location bar is completed as it is typed; Enter answers with the file, and a save
// name typed without the filter's extension gets it.
TEST(CommonDialog, RealChooserListsByTheChosenFilterAndAnswersWhatIsTypedWithEnter) {
    const fs::path folder = testing_support::TempRoot() / "typed";
    fs::create_directories(folder);
    const std::string nonUtf8 = "caf\xE9.tab";
    for (const std::string name : {"abc.tab", "ABD.TAB", nonUtf8.c_str(), "notes.txt", "run me"})
        std::ofstream(folder / name) << "x";
    fs::permissions(folder / "run me", fs::perms::owner_exec, fs::perm_options::add);
    const std::string typedFolder = folder.string() + "/";
    const std::vector<std::string> tabLayouts{"ABD.TAB", "abc.tab", nonUtf8};

    const struct {
        bool save;
        const char* filter;
        std::vector<std::string> listed;
        std::vector<std::string> keys;
        std::string chosen;
    } cases[] = {
        {false, "Tab Layouts (*.tab)|*.tab|All files (*.*)|*.*", tabLayouts, {typedFolder, "ab", "c.tab"}, "abc.tab"},
        {true, "Tab Layouts (*.tab)|*.tab", tabLayouts, {typedFolder, "my", "tabs"}, "mytabs.tab"},
        {false, "Applications (*.exe)|*.exe|All files (*.*)|*.*", {"run me"}, {typedFolder, "ru", "n me"}, "run me"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        CommonDialog dialog;
        dialog.Filter = c.filter;
        dialog.FileName = typedFolder;  // the folder opens, its files listed
        ChooserUser user;
        user.expectListed = c.listed;
        user.keys = c.keys;
        user.ActWhenOpen();
        {
            testing_support::ToolkitLeaksIgnored chooserCompletion;
            c.save ? dialog.ShowSave() : dialog.ShowOpen();
        }
        EXPECT_EQ(user.seenFilter, platform::ParseFilter(c.filter).front().name);
        EXPECT_EQ(user.seenListed, c.listed);
        EXPECT_TRUE(user.answeredByEnter);
        EXPECT_EQ(dialog.FileName, (folder / c.chosen).string());
    }
    fs::remove_all(folder);
}

TEST(CommonDialog, RealChooserShowsTitleFiltersAndPreviousNameAndReportsCancel) {
    const fs::path folder = testing_support::TempRoot() / "chooser";
    fs::create_directories(folder);
    CommonDialog dialog;
    dialog.DialogTitle = "Save Tab Layout";
    dialog.Filter = "Tab Layouts (*.tab)|*.tab";
    dialog.CancelError = true;
    dialog.FileName = (folder / "before.tab").string();

    ChooserScript save;
    save.typeName = "after.tab";
    save.RunWhenOpen();
    dialog.ShowSave();
    ASSERT_TRUE(save.done);
    EXPECT_EQ(save.seenTitle, "Save Tab Layout");
    EXPECT_EQ(save.seenName, "before.tab");
    EXPECT_EQ(save.seenFolder, folder.string());
    EXPECT_EQ(save.filterNames, std::vector<std::string>{"Tab Layouts (*.tab)"});
    EXPECT_EQ(dialog.FileName, (folder / "after.tab").string());

    ChooserScript cancel;
    cancel.RunWhenOpen();
    dialog.DialogTitle = "Open Tab Layout";
    try {
        dialog.ShowOpen();
        ADD_FAILURE() << "cancelling raised nothing";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::cdlCancel);
    }
    EXPECT_EQ(cancel.seenTitle, "Open Tab Layout");
    EXPECT_EQ(dialog.FileName, (folder / "after.tab").string());
    fs::remove_all(folder);
}

}  // namespace
