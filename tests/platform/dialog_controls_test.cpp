#include <gtest/gtest.h>
#include <gdkmm/window.h>
#include <gtkmm/radiobutton.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/checkbox.h"
#include "platform/common_dialog.h"
#include "platform/error.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/listbox.h"
#include "platform/optionbutton.h"
#include "platform/tabcontrol.h"
#include "platform/textbox.h"
#include "platform/widget_style.h"
#include "test_support.h"

namespace {

using testing_support::Pump;

class HostForm : public platform::Form {};

TEST(MnemonicLabelTest, AmpersandsBecomeGtkMnemonics) {
    const struct {
        const char* caption;
        const char* label;
    } cases[] = {
        {"Search && History", "Search & History"},
        {"&System Info...", "_System Info..."},
        {"snake_case", "snake__case"},
        {"trailing &", "trailing &"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::MnemonicLabel(c.caption), c.label) << c.caption;
}

// Two frames of three option buttons each, as a dialog holds them.
class OptionGroupsTest : public ::testing::Test {
protected:
    OptionGroupsTest() {
        for (int f = 0; f < 2; ++f) {
            frames_[f].PlaceIn(form_);
            for (int i = 0; i < 3; ++i) {
                auto& option = options_[f * 3 + i];
                option.PlaceIn(frames_[f]);
                option.Click = [this, f, i] { clicks_.push_back(f * 3 + i); };
            }
        }
    }
    std::string Selected() {
        std::string state;
        for (auto& option : options_) state += option.Value() ? '1' : '0';
        return state;
    }

    HostForm form_;
    platform::Frame frames_[2];
    platform::OptionButton options_[6];
    std::vector<int> clicks_;
};

TEST_F(OptionGroupsTest, SelectingOneDeselectsOnlyItsOwnContainersOthers) {
    EXPECT_EQ(Selected(), "000000") << "a new group has none selected";
    const struct {
        int option;
        bool value;
        const char* after;
    } steps[] = {
        {1, true, "010000"}, {4, true, "010010"}, {0, true, "100010"},
        {2, false, "100010"},  // deselecting one that is not selected changes nothing
        {0, false, "000010"}, {5, true, "000001"},
    };
    for (const auto& step : steps) {
        options_[step.option].SetValue(step.value);
        EXPECT_EQ(Selected(), step.after) << "option " << step.option << " set to " << step.value;
    }
    EXPECT_EQ(clicks_, (std::vector<int>{1, 4, 0, 5})) << "Click runs for each button that becomes selected";

    // The user's click selects the same way.
    static_cast<Gtk::RadioButton&>(options_[3].Widget()).clicked();
    EXPECT_EQ(Selected(), "000100");
    EXPECT_EQ(clicks_.back(), 3);
}

TEST(FileFilterTest, TheApplicationsPatternListsTheFilesThatMayBeExecuted) {
    const auto root = testing_support::TempRoot() / "filter";
    std::filesystem::create_directories(root / "folder");
    for (const char* name : {"tool", "notes", "setup.exe"}) std::ofstream(root / name) << "x";
    std::filesystem::permissions(root / "tool", std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    const auto filters = platform::ParseFilter("Applications (*.exe)|*.exe|All files (*.*)|*.*");
    const struct {
        const char* name;
        bool application;
    } cases[] = {{"tool", true}, {"notes", false}, {"setup.exe", true}, {"folder", false}};
    for (const auto& c : cases) {
        const std::string path = (root / c.name).string();
        EXPECT_EQ(platform::ListsFile(filters[0], path), c.application) << c.name;
        EXPECT_TRUE(platform::ListsFile(filters[1], path)) << c.name;
    }
    std::filesystem::remove_all(root);
}

TEST(ListBoxFocusTest, AListGainsNoSelectionFromTheFocusAlone) {
    HostForm form;
    form.SetWidth(3000);
    form.SetHeight(3000);
    platform::ListBox list;
    list.PlaceIn(form);
    list.Move(120, 120, 2000, 2000);
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    form.Show();
    list.SetFocus();
    ASSERT_TRUE(Pump([&] { return list.Widget().get_realized(); }, 2000));
    testing_support::PumpFor(50);
    EXPECT_EQ(list.ListIndex(), -1) << "a Remove button would act on an item nobody chose";
    EXPECT_EQ(clicks, 0);
    list.SetListIndex(1);
    EXPECT_EQ(list.Text(), "b");
}

class StyledForm : public platform::Form {
public:
    explicit StyledForm(platform::FormStyle style) : Form(style) {}
};

TEST(ToolWindowTest, AToolWindowAsksForATitleBarWithoutMinimiseOrMaximise) {
    const struct {
        platform::FormStyle style;
        bool plain;
    } cases[] = {{{}, true}, {{.resizable = false, .toolWindow = true}, false}};
    for (const auto& c : cases) {
        StyledForm form(c.style);
        form.SetWidth(1500);
        form.SetHeight(1500);
        form.Show();
        ASSERT_TRUE(Pump([&] { return form.Window().get_realized(); }, 2000));
        GdkWMDecoration decorations{};
        const bool set = gdk_window_get_decorations(form.Window().get_window()->gobj(), &decorations);
        if (c.plain) {
            EXPECT_FALSE(set) << "an ordinary window leaves its decorations to the window manager";
        } else {
            ASSERT_TRUE(set);
            EXPECT_EQ(decorations, GDK_DECOR_BORDER | GDK_DECOR_TITLE);
            EXPECT_EQ(form.Window().get_type_hint(), Gdk::WINDOW_TYPE_HINT_DIALOG);
        }
    }
}

TEST(CheckBoxTest, ValueRoundTripsAndEachChangeClicks) {
    platform::CheckBox check;
    int clicks = 0;
    check.Click = [&] { ++clicks; };
    check.SetCaption("Use fast screen refresh when resizing");
    EXPECT_EQ(check.Caption(), "Use fast screen refresh when resizing");
    EXPECT_EQ(check.Value(), platform::vbUnchecked);
    for (int value : {platform::vbChecked, platform::vbChecked, platform::vbUnchecked}) {
        check.SetValue(value);
        EXPECT_EQ(check.Value(), value);
    }
    EXPECT_EQ(clicks, 2) << "setting the value it already has is no change";
}

TEST(TextBoxTest, TextRoundTripsAndChangeRunsForEveryChange) {
    platform::TextBox text;
    int changes = 0;
    text.Change = [&] { ++changes; };
    for (const char* value : {"http://www.example.org/", "grüße", ""}) {
        text.SetText(value);
        EXPECT_EQ(text.Text(), value);
    }
    EXPECT_EQ(changes, 3);
    text.SetBackColor(platform::vbButtonFace);
    EXPECT_EQ(text.BackColor(), platform::vbButtonFace);
}

TEST(TabControlTest, OnlyTheCurrentTabsPageShowsAndItsControlsSitBelowTheTabs) {
    HostForm form;
    form.SetWidth(6000);
    form.SetHeight(4500);
    platform::TabControl tabs(3);
    tabs.PlaceIn(form);
    tabs.Move(120, 120, 4455, 3975);
    for (int i = 0; i < 3; ++i) tabs.SetTabCaption(i, std::string("Page && ") + char('A' + i));
    platform::Frame frames[3];
    for (int i = 0; i < 3; ++i) {
        frames[i].PlaceIn(tabs.Page(i));
        frames[i].Move(120, 480, 4215, 1500);
    }
    int clicks = 0;
    tabs.Click = [&] { ++clicks; };
    form.Show();

    EXPECT_EQ(tabs.Tabs(), 3);
    EXPECT_EQ(tabs.TabCaption(1), "Page && B");
    auto shownPages = [&] {
        std::string shown;
        for (auto& frame : frames) shown += frame.Widget().get_is_drawable() ? '1' : '0';
        return shown;
    };
    ASSERT_TRUE(Pump([&] { return shownPages() == "100"; }, 2000)) << shownPages();
    EXPECT_EQ(tabs.Tab(), 0);
    tabs.SetTab(2);
    EXPECT_EQ(tabs.Tab(), 2);
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(Pump([&] { return shownPages() == "001"; }, 2000)) << shownPages();
    ASSERT_TRUE(Pump([&] { return frames[2].Widget().get_allocation().get_y() == 40; }, 2000))
        << "a page's controls count from the top of the tabbed control";

    for (int bad : {-1, 3}) {
        try {
            tabs.SetTab(bad);
            ADD_FAILURE() << "tab " << bad << " accepted";
        } catch (const platform::ToolkitError& error) {
            EXPECT_EQ(error.Number(), platform::errors::InvalidPropertyValue);
        }
    }
    EXPECT_EQ(tabs.Tab(), 2);
    tabs.SetTabs(2);
    EXPECT_EQ(tabs.Tab(), 1) << "removing the current tab makes the last one current";
}

}  // namespace
