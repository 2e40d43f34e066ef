#include <gdk/gdkkeysyms.h>
#include <gdkmm/window.h>
#include <glib.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/State.h"
#include "common/AutoComplete.h"
#include "platform/combobox.h"
#include "platform/error.h"
#include "program_fixture.h"

namespace {

using platform::ComboBox;

constexpr int vbKeyLeft = 37;
constexpr int vbKeyDown = 40;

class AddressBarTest : public ProgramTest {
protected:
    void StartWithList(const std::vector<std::string>& entries) {
        std::string text;
        for (const auto& entry : entries) text += entry + "\r\n";
        WriteFile("autocomplete.dat", text);
        Start("about:blank");
    }

    ComboBox& Bar() { return frmMain->Combo1; }

    // The user has typed the text; the key with that code comes up.
    void Type(const std::string& text, int keyCode = 'A') {
        Bar().SetText(text);
        Bar().SetSelStart(static_cast<int>(g_utf8_strlen(text.c_str(), -1)));
        Bar().KeyUp(keyCode, 0);
    }

    // The text with its selection marked by brackets.
    std::string Shown() {
        const std::string text = Bar().Text();
        const char* start = g_utf8_offset_to_pointer(text.c_str(), Bar().SelStart());
        const char* end = g_utf8_offset_to_pointer(start, Bar().SelLength());
        return std::string(text.c_str(), start) + "[" + std::string(start, end) + "]" + std::string(end);
    }

    std::vector<std::string> List() { return Bar().Items(); }

    // The address bar has the keyboard focus and an empty text.
    void FocusBar() {
        frmMain->Window().present();
        Bar().SetText("");
        gtk_widget_grab_focus(gtk_bin_get_child(GTK_BIN(Bar().Widget().gobj())));
    }

    // A key goes down and up on the window as the X server delivers it.
    void PressKey(guint keyval) {
        for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            event->key.window = static_cast<GdkWindow*>(g_object_ref(frmMain->Window().get_window()->gobj()));
            event->key.keyval = keyval;
            event->key.send_event = TRUE;
            event->key.time = GDK_CURRENT_TIME;
            // Key bindings (Backspace, Enter) are looked up by the hardware key.
            GdkKeymapKey* keys = nullptr;
            gint count = 0;
            if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval, &keys,
                                                  &count)) {
                event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
                g_free(keys);
            }
            gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
            gtk_widget_event(GTK_WIDGET(frmMain->Window().gobj()), event);
            gdk_event_free(event);
        }
        platform::DoEvents();
    }

    const std::vector<std::string>& Navigations(int tab) { return Browser(tab).Recorded().navigations; }
};

TEST_F(AddressBarTest, ClickOpensTheTextAsTypedInTheCurrentTabAndStartsThePoll) {
    StartWithList({});
    frmMain->AddTab("about:blank");
    ASSERT_EQ(CurrentTab, 1);
    ASSERT_TRUE(testing_support::Pump([] { return !frmMain->Timer1(1).Enabled(); }, 3000));
    ASSERT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(8).GetPicture());

    Bar().SetText("  example.org/a b ");
    Bar().Click();
    EXPECT_EQ(Navigations(1).back(), "  example.org/a b ");
    EXPECT_EQ(Navigations(0), std::vector<std::string>{"about:blank"});
    EXPECT_TRUE(frmMain->Timer1(1).Enabled());
    EXPECT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(0).GetPicture());
}

TEST_F(AddressBarTest, EnterAddsANewAddressOnceAndAlwaysOpensTheText) {
    StartWithList({"http://b.example/"});
    Bar().SetText("http://a.example/");
    Bar().KeyPress(13);
    EXPECT_EQ(List(), (std::vector<std::string>{"http://a.example/", "http://b.example/"}));
    EXPECT_EQ(Navigations(0).back(), "http://a.example/");

    // A text that differs only in letter case is already there.
    Bar().SetText("HTTP://A.Example/");
    Bar().KeyPress(13);
    EXPECT_EQ(List().size(), 2u);
    EXPECT_EQ(Navigations(0).back(), "HTTP://A.Example/");

    // An empty text is opened but never kept.
    Bar().SetText("");
    Bar().KeyPress(13);
    EXPECT_EQ(List().size(), 2u);
    EXPECT_EQ(Navigations(0).back(), "");

    const auto opened = Navigations(0).size();
    Bar().SetText("c");
    Bar().KeyPress('c');
    Bar().KeyPress(10);
    EXPECT_EQ(Navigations(0).size(), opened) << "only Enter opens the address";
    EXPECT_EQ(List().size(), 2u);
}

TEST_F(AddressBarTest, TypingCompletesInlineAndSelectsTheRest) {
    StartWithList({"www.abd.example", "HTTP://www.abc.example", "FILE:///C:/Documents/page.htm", "about:blank"});

    Type("www.ab");
    EXPECT_EQ(Shown(), "HTTP://www.ab[c.example]") << "the prefixed entry comes first in the list";
    Type("www.abd");
    EXPECT_EQ(Shown(), "www.abd[.example]");
    Type("c:/");
    EXPECT_EQ(Shown(), "FILE:///C:/[Documents/page.htm]");
    Type("AB");
    EXPECT_EQ(Shown(), "ab[out:blank]");
    Type("www.abd.example/more");
    EXPECT_EQ(Shown(), "www.abd.example/more[]") << "a text longer than every entry completes nothing";
}

TEST_F(AddressBarTest, KeysThatEditNeverCompleteButArrowsAndCtrlDo) {
    StartWithList({"http://b.example/", "http://a.example/"});
    for (int key : {platform::vbKeyReturn, platform::vbKeyBack, platform::vbKeyShift, platform::vbKeyClear,
                    platform::vbKeyDelete}) {
        Type("http://a", key);
        EXPECT_EQ(Shown(), "http://a[]") << "key " << key;
    }
    for (int key : {vbKeyDown, vbKeyLeft, platform::vbKeyControl}) {
        Type("", key);
        EXPECT_EQ(Shown(), "http://[a.example/]") << "key " << key;
    }
}

TEST_F(AddressBarTest, WithAutoCompleteOffTypingOnlyChangesTheTextAndEnterStillKeepsIt) {
    StartWithList({"http://a.example/"});
    Settings.NoAutoComplete = 1;
    Type("a.ex");
    EXPECT_EQ(Shown(), "a.ex[]");
    Type("", vbKeyDown);
    EXPECT_EQ(Shown(), "[]");
    Bar().SetText("b.example");
    Bar().KeyPress(13);
    EXPECT_EQ(List(), (std::vector<std::string>{"b.example", "http://a.example/"}));
    EXPECT_EQ(Navigations(0).back(), "b.example");
}

TEST_F(AddressBarTest, AnEmptyListCompletesNothing) {
    StartWithList({});
    Type("exa");
    EXPECT_EQ(Shown(), "exa[]");
    Type("", vbKeyDown);
    EXPECT_EQ(Shown(), "[]");
}

TEST_F(AddressBarTest, RealKeystrokesCompleteAndTheNextKeyReplacesTheCompletedTail) {
    StartWithList({"http://www.example.org/", "http://www.exchange.example/"});
    FocusBar();
    const auto key = [this](guint keyval) { PressKey(keyval); };
    for (guint keyval : {GDK_KEY_w, GDK_KEY_w, GDK_KEY_w, GDK_KEY_period, GDK_KEY_e, GDK_KEY_x}) key(keyval);
    EXPECT_EQ(Shown(), "http://www.ex[ample.org/]");
    key(GDK_KEY_c);
    EXPECT_EQ(Shown(), "http://www.exc[hange.example/]");
    key(GDK_KEY_BackSpace);
    EXPECT_EQ(Shown(), "http://www.exc[]");
    key(GDK_KEY_Return);
    EXPECT_EQ(Navigations(0).back(), "http://www.exc");
    EXPECT_EQ(List(), (std::vector<std::string>{"http://www.example.org/", "http://www.exc", "http://www.exchange.example/"}));
}

TEST_F(AddressBarTest, ArrowKeysAndTheDropDownOpenExactlyTheEntryOfTheListHeld) {
    StartWithList({"http://a.example/", "http://c.example/"});
    Bar().AddItem("http://b.example/");  // added after the list was loaded
    FocusBar();
    const std::vector<std::pair<guint, std::string>> moves = {
        {GDK_KEY_Down, "http://a.example/"}, {GDK_KEY_Down, "http://b.example/"}, {GDK_KEY_KP_Down, "http://c.example/"},
        {GDK_KEY_Down, "http://c.example/"}, {GDK_KEY_Up, "http://b.example/"},
    };
    for (const auto& [keyval, address] : moves) {
        const std::size_t before = Navigations(0).size();
        PressKey(keyval);
        EXPECT_EQ(Bar().Text(), address);
        ASSERT_EQ(Navigations(0).size(), before + 1);
        EXPECT_EQ(Navigations(0).back(), address);
    }

    // Picked from the drop-down, also when it is the entry already shown.
    auto* combo = GTK_COMBO_BOX(Bar().Widget().gobj());
    for (int pick : {2, 2, 0}) {
        const std::size_t before = Navigations(0).size();
        gtk_combo_box_popup(combo);
        ASSERT_TRUE(testing_support::Pump([&] {
            gboolean shown = FALSE;
            g_object_get(combo, "popup-shown", &shown, nullptr);
            return shown == TRUE;
        }, 3000));
        gtk_combo_box_set_active(combo, pick);
        gtk_combo_box_popdown(combo);
        platform::DoEvents();
        ASSERT_EQ(Navigations(0).size(), before + 1);
        EXPECT_EQ(Navigations(0).back(), List()[pick]);
    }
}

TEST_F(AddressBarTest, TheKeypadDeleteKeyRemovesTheCompletionLikeDelete) {
    StartWithList({"http://www.example.org/"});
    FocusBar();
    for (guint keyval : {GDK_KEY_w, GDK_KEY_w}) PressKey(keyval);
    ASSERT_EQ(Shown(), "http://ww[w.example.org/]");
    PressKey(GDK_KEY_KP_Delete);
    EXPECT_EQ(Shown(), "http://ww[]");
}

TEST_F(AddressBarTest, SaveCompleteWritesTheListInItsOrderWithEmptyLinesAndDuplicates) {
    StartWithList({"b", "a", "", "A"});
    frmMain->SaveComplete();
    EXPECT_EQ(ReadFile("autocomplete.dat"), "\r\na\r\nA\r\nb\r\n");

    Bar().Clear();
    frmMain->SaveComplete();
    EXPECT_TRUE(std::filesystem::exists(folder / "autocomplete.dat"));
    EXPECT_EQ(ReadFile("autocomplete.dat"), "");
}

TEST_F(AddressBarTest, SaveCompleteReportsAFileItCannotWrite) {
    StartWithList({"a"});
    std::filesystem::remove(folder / "autocomplete.dat");
    std::filesystem::create_directory(folder / "autocomplete.dat");
    try {
        frmMain->SaveComplete();
        FAIL() << "writing over a folder must fail";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::errors::PathFileAccessError);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "autocomplete.dat"));
}

TEST_F(AddressBarTest, CompletesFromAHundredThousandAddresses) {
    const char* shapes[] = {"http://www.site%05d.example/index.html", "HTTP://shop%05d.example.org/",
                            "file:///home/user/page%05d.htm", "site%05d.example.net", "https://secure%05d.example/"};
    std::vector<std::string> entries;
    for (int i = 0; i < 100000; ++i) {
        char address[64];
        std::snprintf(address, sizeof address, shapes[i % 5], i / 5);
        entries.push_back(address);
    }
    StartWithList(entries);
    ASSERT_EQ(Bar().ListCount(), 100000);

    // Every text but the last two completes.
    const std::vector<std::string> typing{"",      "w",      "ww",    "www.",  "www.site1",       "www.site19999",
                                          "shop1", "s",      "https", "site12", "home/user/page0", "www.site99999x",
                                          "zzz"};
    for (std::size_t i = 0; i < typing.size(); ++i) {
        const auto completion = AutoComplete::Complete(Bar().Items(), typing[i]);
        EXPECT_EQ(completion.has_value(), i + 2 < typing.size()) << typing[i];
    }
    Type("www.site1");
    EXPECT_EQ(Shown(), "http://www.site1[0000.example/index.html]");
    Type("home/user/page0");
    EXPECT_EQ(Shown(), "file:///home/user/page0[0000.htm]");
}

}  // namespace
