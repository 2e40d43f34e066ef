#include <gtest/gtest.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/window.h>
#include <glibmm/main.h>

#include <filesystem>
#include <fstream>
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
        {1, "README", true},    {1, "a.b.c", true},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::MatchesFilter(filters[c.filter], c.name), c.matches) << c.name;
    EXPECT_TRUE(platform::ParseFilter("").empty());
    EXPECT_EQ(platform::ParseFilter("Tab Layouts (*.tab)|*.tab|dangling").size(), 1u);
}

// Finds the open file chooser, reads what it shows once its folder has loaded, and
// answers it as a user would: a new name typed in the same folder, or cancel.
struct ChooserScript {
    std::string seenTitle, seenName, seenFolder;
    std::vector<std::string> filterNames;
    std::string typeName;  // "" to cancel
    bool done = false;

    void RunWhenOpen() {
        Glib::signal_timeout().connect(
            [this] {
                for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
                    auto* chooser = dynamic_cast<Gtk::FileChooserDialog*>(window);
                    if (!chooser || !chooser->get_visible()) continue;
                    if (chooser->get_current_folder().empty()) return true;
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
                }
                return true;
            },
            50);
    }
};

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
