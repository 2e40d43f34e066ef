#include <gtest/gtest.h>
#include <gdk/gdkkeysyms.h>
#include <gdkmm/window.h>
#include <gtk/gtk.h>

#include <memory>

#include "platform/app.h"
#include "platform/button.h"
#include "platform/form.h"
#include "test_support.h"

namespace {

using platform::CommandButton;
using testing_support::Pump;

class ButtonForm : public platform::Form {
public:
    ButtonForm() {
        SetWidth(3000);
        SetHeight(1500);
        for (CommandButton* button : {&First, &Second}) button->PlaceIn(*this);
        First.Move(120, 120, 1455, 375);
        Second.Move(1680, 120, 1455, 375);
        First.Click = [this] { ++firstClicks; };
        Second.Click = [this] { ++secondClicks; };
    }

    // A key pressed while the window has the focus.
    void PressKey(guint keyval) {
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = static_cast<GdkWindow*>(g_object_ref(Window().get_window()->gobj()));
        event->key.keyval = keyval;
        event->key.send_event = TRUE;
        gtk_widget_event(GTK_WIDGET(Window().gobj()), event);
        gdk_event_free(event);
    }

    CommandButton First;
    CommandButton Second;
    int firstClicks = 0;
    int secondClicks = 0;
};

class ButtonTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (slot_.Loaded()) slot_.Unload();
    }
    platform::FormSlot<ButtonForm> slot_;
};

TEST_F(ButtonTest, ShowsItsCaptionAtItsPlaceAndClicksThroughTheHandlers) {
    ButtonForm& form = slot_.Get();
    form.First.SetCaption("In new tab");
    EXPECT_EQ(form.First.Caption(), "In new tab");
    EXPECT_EQ(static_cast<Gtk::Button&>(form.First.Widget()).get_label(), "In new tab");
    int width = 0, height = 0;
    form.Second.Widget().get_size_request(width, height);
    EXPECT_EQ(width, 97);
    EXPECT_EQ(height, 25);

    form.Show();
    static_cast<Gtk::Button&>(form.First.Widget()).clicked();
    EXPECT_EQ(form.firstClicks, 1);
    {
        // While the layer waits for the engine, the click waits too.
        platform::HandlerBlock block;
        static_cast<Gtk::Button&>(form.Second.Widget()).clicked();
        EXPECT_EQ(form.secondClicks, 0);
    }
    ASSERT_TRUE(Pump([&] { return form.secondClicks == 1; }, 2000));
    EXPECT_EQ(form.firstClicks, 1);
}

TEST_F(ButtonTest, ACaptionThatFitsKeepsTheButtonAtTheSizeItWasGiven) {
    ButtonForm& form = slot_.Get();
    form.First.SetCaption("In new tab");
    form.Second.SetCaption("In new browser");
    form.Show();
    ASSERT_TRUE(Pump([&] { return form.Second.Widget().get_allocated_width() > 1; }, 2000));
    for (CommandButton* button : {&form.First, &form.Second}) {
        EXPECT_EQ(button->Widget().get_allocated_width(), 97) << button->Caption();
        EXPECT_EQ(button->Widget().get_allocated_height(), 25) << button->Caption();
    }
    EXPECT_EQ(form.Second.Widget().get_allocation().get_x(), 112) << "the buttons must not overlap";

    // The caption is drawn in the button's font: a large one needs more room.
    form.Second.SetFont("Sans", 20, true);
    EXPECT_TRUE(Pump([&] { return form.Second.Widget().get_allocated_width() > 97; }, 2000));
}

TEST_F(ButtonTest, EscClicksTheCancelButtonOnlyWhileItCanBeClicked) {
    ButtonForm& form = slot_.Get();
    form.Show();
    form.PressKey(GDK_KEY_Escape);
    EXPECT_EQ(form.firstClicks + form.secondClicks, 0) << "no button answers Esc until one is the cancel button";

    form.Second.SetCancel(true);
    EXPECT_TRUE(form.Second.Cancel());
    form.PressKey(GDK_KEY_Escape);
    EXPECT_EQ(form.secondClicks, 1);
    form.PressKey(GDK_KEY_a);
    EXPECT_EQ(form.secondClicks, 1);

    form.Second.SetEnabled(false);
    form.PressKey(GDK_KEY_Escape);
    EXPECT_EQ(form.secondClicks, 1);
    form.Second.SetEnabled(true);
    form.Second.SetVisible(false);
    form.PressKey(GDK_KEY_Escape);
    EXPECT_EQ(form.secondClicks, 1);
    EXPECT_EQ(form.firstClicks, 0);
}

TEST_F(ButtonTest, EnterClicksTheDefaultButtonUnlessAnotherButtonHasTheFocus) {
    ButtonForm& form = slot_.Get();
    form.Show();
    form.PressKey(GDK_KEY_Return);
    EXPECT_EQ(form.firstClicks + form.secondClicks, 0);
    form.First.SetDefault(true);
    EXPECT_TRUE(form.First.Default());
    form.Window().unset_focus();
    form.PressKey(GDK_KEY_Return);
    form.PressKey(GDK_KEY_KP_Enter);
    EXPECT_EQ(form.firstClicks, 2);
    form.Second.SetFocus();
    form.PressKey(GDK_KEY_Return);
    EXPECT_EQ(form.firstClicks, 2) << "Enter on a focused button belongs to that button";
}

TEST_F(ButtonTest, ACancelButtonRemovedFromItsWindowNoLongerHearsEsc) {
    ButtonForm& form = slot_.Get();
    form.Show();
    int extraClicks = 0;
    auto extra = std::make_unique<CommandButton>();
    extra->PlaceIn(form);
    extra->SetCancel(true);
    extra->Click = [&] { ++extraClicks; };
    form.PressKey(GDK_KEY_Escape);
    EXPECT_EQ(extraClicks, 1);

    extra.reset();
    form.PressKey(GDK_KEY_Escape);
    EXPECT_EQ(extraClicks, 1);
    EXPECT_EQ(form.firstClicks + form.secondClicks, 0);
}

}  // namespace
