#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>

#include "platform/form.h"
#include "test_support.h"

namespace {

class DropDown : public platform::Form {
public:
    DropDown() : Form(platform::FormStyle{.borderless = true, .showInTaskbar = false, .dropDown = true}) {
        SetWidth(1500);
        SetHeight(1500);
    }
    int deactivations = 0;

protected:
    void Form_Deactivate() override { ++deactivations; }
};

class Plain : public platform::Form {};

TEST(DropDownForm, LosesTheActivationOnceWhenAnotherWindowOrAModalDialogShows) {
    DropDown menu;
    Plain other;
    menu.Show();
    other.Show();
    EXPECT_EQ(menu.deactivations, 1);
    other.Hide();
    other.Show();
    EXPECT_EQ(menu.deactivations, 1) << "only once per showing";

    menu.Hide();
    menu.Show();
    Gtk::MessageDialog dialog("A question", false, Gtk::MESSAGE_QUESTION, Gtk::BUTTONS_OK, true);
    dialog.show();
    EXPECT_TRUE(testing_support::Pump([&] { return menu.deactivations == 2; }));
    dialog.hide();
}

}  // namespace
