#include <gtest/gtest.h>
#include <cairomm/context.h>
#include <glib.h>
#include <gtkmm/button.h>

#include <string>
#include <vector>

#include "platform/button.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/picturebox.h"
#include "platform/text.h"
#include "test_support.h"
#include "warning_log.h"

namespace {

using platform::ScreenLine;
using platform::ScreenLineChars;

class HostForm : public platform::Form {};

std::string Repeated(const std::string& unit, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + unit.size());
    while (text.size() < bytes) text += unit;
    return text;
}

long Characters(const std::string& text) { return g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size())); }

const std::string Ellipsis = "\u2026";
const std::string Replacement = "\uFFFD";

TEST(ScreenLineTest, ShortTextIsShownWholeWithReplacementCharactersForBytesThatAreNoUtf8) {
    const struct {
        std::string text, shown;
    } cases[] = {
        {"", ""},
        {"Home page", "Home page"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"caf\xE9", "caf" + Replacement},
        {"\xFF\xFE!", Replacement + Replacement + "!"},
        {"cut \xE2\x82", "cut " + Replacement + Replacement},
        {Repeated("\xE2\x82\xAC", 3 * ScreenLineChars), Repeated("\xE2\x82\xAC", 3 * ScreenLineChars)},
    };
    for (const auto& c : cases) EXPECT_EQ(ScreenLine(c.text), c.shown) << c.text.substr(0, 40);
}

// Two megabytes of one character, one byte long to four, or of a byte that is no UTF-8.
TEST(ScreenLineTest, LongTextIsCutOnACharacterBoundaryWithAnEllipsis) {
    const std::vector<std::string> units = {"W", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF", "a\xE2\x82"};
    for (const auto& unit : units) {
        const std::string text = Repeated(unit, 2'000'000);
        const std::string shown = ScreenLine(text);
        EXPECT_TRUE(g_utf8_validate(shown.c_str(), static_cast<gssize>(shown.size()), nullptr)) << unit;
        EXPECT_EQ(Characters(shown), ScreenLineChars) << unit;
        ASSERT_TRUE(shown.ends_with(Ellipsis)) << unit;
        const std::string kept = shown.substr(0, shown.size() - Ellipsis.size());
        EXPECT_EQ(kept, platform::DisplayText(text).substr(0, kept.size())) << unit;
    }
    const std::string fits = Repeated("x", ScreenLineChars);
    EXPECT_EQ(ScreenLine(fits), fits);
    EXPECT_EQ(ScreenLine(fits + "y"), fits.substr(0, ScreenLineChars - 1) + Ellipsis);
}

TEST(ScreenTextTest, EveryLineIsCutAsAScreenLineAndLinesBeyondTheScreensShowAsAnEllipsis) {
    const std::string fits = Repeated("x", ScreenLineChars);
    const std::string cut = fits.substr(0, ScreenLineChars - 1) + Ellipsis;
    std::string lines;
    for (long i = 1; i < platform::ScreenTextLines; ++i) lines += "line\n";
    const struct {
        std::string text, shown;
    } cases[] = {
        {"", ""},
        {"one\r\ntwo\n\nthree\n", "one\ntwo\n\nthree\n"},
        {fits + "y\n" + fits + "\r\n" + fits + "yz", cut + "\n" + fits + "\n" + cut},
        {"caf\xE9\r\n", "caf" + Replacement + "\n"},
        {lines + "last", lines + "last"},
        {lines + "last\n", lines + Ellipsis},
        {lines + Repeated("more\n", 2'000'000), lines + Ellipsis},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::ScreenText(c.text), c.shown) << c.text.substr(0, 40);
}

class OneLineTextTest : public ::testing::Test {
protected:
    OneLineTextTest() {
        form_.SetWidth(6000);
        form_.SetHeight(3000);
        label_.PlaceIn(form_);
        label_.Move(0, 0, 3000, 450);
        box_.PlaceIn(form_);
        box_.Move(0, 600, 3000, 450);
        other_.PlaceIn(form_);
        other_.Move(3000, 600, 3000, 450);
        button_.PlaceIn(form_);
        button_.Move(0, 1200, 1500, 450);
        form_.Show();
        Settle(label_);
    }

    static void Settle(platform::Label& label) {
        testing_support::Pump([&] { return label.Widget().get_allocated_width() == 200; }, 2000);
    }

    // The label as it paints itself.
    Cairo::RefPtr<Cairo::ImageSurface> Render(platform::Label& label) {
        auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, 200, 30);
        gtk_widget_draw(label.Widget().gobj(), Cairo::Context::create(surface)->cobj());
        return surface;
    }

    std::string Title() { return form_.Window().get_title(); }
    std::string ToolTipShown() { return label_.Widget().get_tooltip_text(); }
    std::string ButtonShown() { return static_cast<Gtk::Button&>(button_.Widget()).get_label(); }

    HostForm form_;
    platform::Label label_;
    platform::PictureBox box_, other_;
    platform::CommandButton button_;
};

// A page's address or title of two megabytes: the caption, the window title and the
// tooltip read back whole, while the toolkit is handed one screen line of it.
TEST_F(OneLineTextTest, AHugeTextIsHeldWholeAndShownAsOneScreenLine) {
    const std::string text = "data:text/html," + Repeated("\xC3\xA9", 2'000'000);
    const std::string line = ScreenLine(text);

    form_.SetCaption(text);
    EXPECT_EQ(form_.Caption(), text);
    EXPECT_EQ(Title(), line);

    label_.SetToolTipText(text);
    EXPECT_EQ(label_.ToolTipText(), text);
    EXPECT_EQ(ToolTipShown(), line);

    label_.SetCaption(text);
    EXPECT_EQ(label_.Caption(), text);
    const auto huge = Render(label_);
    label_.SetCaption(line);
    EXPECT_TRUE(testing_support::SameImage(platform::Picture(huge), platform::Picture(Render(label_))));

    button_.SetCaption(text);
    EXPECT_EQ(button_.Caption(), text);
    EXPECT_EQ(ButtonShown(), line);

    // What is measured is what is shown.
    EXPECT_EQ(box_.TextWidth(text), box_.TextWidth(line));
    box_.Print(text);
    other_.Print(line);
    EXPECT_TRUE(testing_support::SameImage(box_.Image(), other_.Image()));
}

// A name from another system's files: shown with replacement characters, and
// GLib, GTK and Pango have nothing to warn about.
TEST_F(OneLineTextTest, TextThatIsNoUtf8IsShownWithReplacementCharactersWithoutAWarning) {
    const std::string raw = "caf\xE9 \xFF\xFE", shown = "caf" + Replacement + " " + Replacement + Replacement;
    platform::Label same;
    same.PlaceIn(form_);
    same.Move(3000, 0, 3000, 450);
    Settle(same);
    testing_support::WarningLog log;

    form_.SetCaption(raw);
    label_.SetToolTipText(raw);
    label_.SetCaption(raw);
    same.SetCaption(shown);
    button_.SetCaption(raw);
    box_.Print(raw);
    other_.Print(shown);
    platform::ListBox list;
    list.PlaceIn(form_);
    list.Move(0, 1800, 3000, 900);
    list.AddItem(raw);
    EXPECT_TRUE(testing_support::SameImage(platform::Picture(Render(label_)), platform::Picture(Render(same))));
    EXPECT_TRUE(testing_support::SameImage(box_.Image(), other_.Image()));
    testing_support::PumpFor(300);

    EXPECT_EQ(log.Messages(), std::vector<std::string>{});
    EXPECT_EQ(form_.Caption(), raw);
    EXPECT_EQ(Title(), shown);
    EXPECT_EQ(label_.Caption(), raw);
    EXPECT_EQ(label_.ToolTipText(), raw);
    EXPECT_EQ(ToolTipShown(), shown);
    EXPECT_EQ(button_.Caption(), raw);
    EXPECT_EQ(ButtonShown(), shown);
    EXPECT_EQ(list.List(0), raw);
}

}  // namespace
