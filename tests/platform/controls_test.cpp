#include <gtest/gtest.h>
#include <cairomm/context.h>
#include <gtkmm/menu.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/togglebutton.h>
#include <gtkmm/treeview.h>

#include <gdk/gdkkeysyms.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/color.h"
#include "platform/combobox.h"
#include "platform/error.h"
#include "platform/filelistbox.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/msgbox.h"
#include "platform/picturebox.h"
#include "platform/twips.h"
#include "test_support.h"

namespace {

using platform::OleColor;
using platform::Picture;
using platform::PictureBox;
using testing_support::Pump;

class HostForm : public platform::Form {};

// Colours as they sit in an RGB24 surface: 0xRRGGBB.
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
constexpr OleColor kOleRed = 0x0000FF, kOleGreen = 0x00FF00, kOleBlue = 0xFF0000;

std::uint32_t PixelAt(const Cairo::RefPtr<Cairo::ImageSurface>& surface, int x, int y) {
    surface->flush();
    const auto* row = surface->get_data() + y * surface->get_stride();
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

Picture SolidPicture(int width, int height, std::uint32_t rgb) {
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
    auto cr = Cairo::Context::create(surface);
    cr->set_source_rgb(((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    cr->paint();
    return Picture(surface);
}

// Pixels of the surface that are neither of the given colours.
int PixelsOtherThan(const Cairo::RefPtr<Cairo::ImageSurface>& surface, std::vector<std::uint32_t> colours) {
    int count = 0;
    for (int y = 0; y < surface->get_height(); ++y)
        for (int x = 0; x < surface->get_width(); ++x)
            if (std::find(colours.begin(), colours.end(), PixelAt(surface, x, y)) == colours.end()) ++count;
    return count;
}

bool SameAllocation(Gtk::Widget& widget, int x, int y, int width, int height) {
    const auto a = widget.get_allocation();
    return a.get_x() == x && a.get_y() == y && a.get_width() == width && a.get_height() == height;
}

std::string Describe(Gtk::Widget& widget) {
    const auto a = widget.get_allocation();
    return std::to_string(a.get_x()) + "," + std::to_string(a.get_y()) + " " + std::to_string(a.get_width()) + "x" +
           std::to_string(a.get_height());
}

using testing_support::ErrorNumberOf;

// Twips at the GTK boundary

TEST(TwipsTest, AControlsTwipsBecomeItsWidgetsPixelsInsideItsContainer) {
    HostForm form;
    form.SetWidth(6000);
    form.SetHeight(4500);
    PictureBox box;
    box.PlaceIn(form);
    box.Move(150, 300, 1500, 450);
    PictureBox inner;
    inner.PlaceIn(box);
    inner.Move(45, 15, 300, 150);
    form.Show();
    ASSERT_TRUE(Pump([&] { return SameAllocation(box.Widget(), 10, 20, 100, 30); }, 2000)) << Describe(box.Widget());
    ASSERT_TRUE(Pump([&] { return SameAllocation(inner.Widget(), 3, 1, 20, 10); }, 2000)) << Describe(inner.Widget());
    EXPECT_EQ(box.ScaleWidthPixels(), 100);
    EXPECT_EQ(box.ScaleHeightPixels(), 30);

    // Values in between round to the nearest pixel; the control keeps the twips.
    box.SetLeft(307);
    box.SetTop(322);
    box.SetWidth(1508);
    box.SetHeight(442);
    EXPECT_EQ(box.Left(), 307);
    EXPECT_EQ(box.Width(), 1508);
    ASSERT_TRUE(Pump([&] { return SameAllocation(box.Widget(), 20, 21, 101, 29); }, 2000)) << Describe(box.Widget());
    EXPECT_EQ(box.ScaleWidthPixels(), 101);
}

TEST(TwipsTest, AHiddenControlLeavesTheScreenAndComesBackInPlace) {
    HostForm form;
    form.SetWidth(3000);
    form.SetHeight(3000);
    PictureBox box;
    box.PlaceIn(form);
    box.Move(300, 300, 600, 600);
    form.Show();
    box.SetVisible(false);
    EXPECT_FALSE(box.Visible());
    EXPECT_FALSE(box.Widget().get_visible());
    box.SetVisible(true);
    ASSERT_TRUE(Pump([&] { return SameAllocation(box.Widget(), 20, 20, 40, 40); }, 2000)) << Describe(box.Widget());
}

// Picture box

class PictureBoxTest : public ::testing::Test {
protected:
    PictureBoxTest() {
        form_.SetWidth(3000);
        form_.SetHeight(3000);
        box_.PlaceIn(form_);
        box_.Move(0, 0, 150, 150);  // 10 x 10 pixels
        box_.SetBackColor(kOleBlue);
        form_.Show();
    }
    const Cairo::RefPtr<Cairo::ImageSurface>& Pixels() { return box_.Surface().ImageSurface(); }
    // Waits until the box on the screen has its size.
    void Settle() {
        ASSERT_TRUE(Pump([&] { return SameAllocation(box_.Widget(), 0, 0, box_.ScaleWidthPixels(), box_.ScaleHeightPixels()); },
                         2000))
            << Describe(box_.Widget());
    }

    HostForm form_;
    PictureBox box_;
};

TEST_F(PictureBoxTest, TheImageIsTheBackColourWithThePictureOverIt) {
    EXPECT_EQ(box_.BackColor(), kOleBlue);
    EXPECT_EQ(Pixels()->get_width(), 10);
    EXPECT_EQ(PixelAt(Pixels(), 5, 5), kBlue);
    box_.SetPicture(SolidPicture(4, 4, kRed));
    EXPECT_EQ(PixelAt(Pixels(), 0, 0), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 3, 3), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 4, 4), kBlue);
    EXPECT_EQ(PixelAt(Pixels(), 9, 9), kBlue);
    box_.SetBackColor(kOleGreen);
    EXPECT_EQ(PixelAt(Pixels(), 9, 9), kGreen);
    EXPECT_EQ(PixelAt(Pixels(), 1, 1), kRed);
}

TEST_F(PictureBoxTest, PrintDrawsAtTheTextPositionAndClsClearsBackToColourAndPicture) {
    box_.Move(0, 0, 1500, 450);  // 100 x 30 pixels
    box_.SetPicture(SolidPicture(4, 4, kRed));
    box_.SetForeColor(kOleGreen);
    box_.CurrentX() = 600;  // 40 pixels in
    box_.CurrentY() = 0;
    box_.Print("WWW");
    EXPECT_EQ(box_.CurrentX(), 0) << "after a line of text the position goes back to the left";
    EXPECT_GT(box_.CurrentY(), 0);
    int drawnLeft = 0, drawnRight = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            if (PixelAt(Pixels(), x, y) != kBlue && !(x < 4 && y < 4)) (x < 38 ? drawnLeft : drawnRight)++;
    EXPECT_EQ(drawnLeft, 0) << "text drawn left of CurrentX";
    EXPECT_GT(drawnRight, 10) << "no text drawn";
    EXPECT_EQ(PixelAt(Pixels(), 1, 1), kRed) << "the picture stays under the text";

    // The drawing persists: a repaint does not lose it, and the box shows it.
    box_.Refresh();
    EXPECT_GT(PixelsOtherThan(Pixels(), {kBlue, kRed}), 10);
    Settle();
    auto shown = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, 100, 30);
    gtk_widget_draw(box_.Widget().gobj(), Cairo::Context::create(shown)->cobj());
    EXPECT_GT(PixelsOtherThan(shown, {kBlue, kRed}), 10);
    EXPECT_EQ(PixelAt(shown, 1, 1), kRed);

    box_.Cls();
    EXPECT_EQ(box_.CurrentX(), 0);
    EXPECT_EQ(box_.CurrentY(), 0);
    EXPECT_EQ(PixelsOtherThan(Pixels(), {kBlue, kRed}), 0) << "Cls left drawn pixels";
    EXPECT_EQ(PixelAt(Pixels(), 3, 3), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 50, 15), kBlue);
}

// Runs the main loop until the window of the widget has gone through a whole frame.
void WaitForFrame(Gtk::Widget& widget) {
    GdkFrameClock* clock = gtk_widget_get_frame_clock(widget.gobj());
    ASSERT_NE(clock, nullptr);
    bool painted = false;
    const gulong handler = g_signal_connect(clock, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer flag) {
        *static_cast<bool*>(flag) = true;
    }), &painted);
    gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
    EXPECT_TRUE(Pump([&] { return painted; }, 5000)) << "no frame";
    g_signal_handler_disconnect(clock, handler);
}

TEST_F(PictureBoxTest, DrawingTheSameImageAgainPaintsNothingAndAChangePaintsOnce) {
    Settle();
    int paints = 0;
    box_.Surface().signal_draw().connect(
        [&](const Cairo::RefPtr<Cairo::Context>&) {
            ++paints;
            return false;
        },
        false);
    const auto redraw = [&](const std::string& caption) {
        box_.Cls();
        box_.Print(caption);
    };
    const auto paintsOf = [&](const std::function<void()>& drawing) {
        WaitForFrame(box_.Widget());
        paints = 0;
        drawing();
        WaitForFrame(box_.Widget());
        return paints;
    };
    redraw("Tab");
    EXPECT_EQ(paintsOf([&] { redraw("Tab"); }), 0) << "the same face drawn again was painted";
    EXPECT_EQ(paintsOf([&] { redraw("Other"); redraw("Tab"); }), 0) << "a change undone within one turn was painted";
    EXPECT_EQ(paintsOf([&] { redraw("Other"); }), 1) << "a changed face was not painted, or more than once";
}

TEST_F(PictureBoxTest, TextWidthGrowsWithTheTextAndTheFont) {
    const double narrow = box_.TextWidth("i"), wide = box_.TextWidth("WWWW");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow);
    EXPECT_EQ(static_cast<int>(wide) % platform::TwipsPerPixelX, 0) << "whole pixels, in twips";
    box_.Surface().FontSize = 16;
    EXPECT_GT(box_.TextWidth("WWWW"), wide);
    EXPECT_EQ(box_.TextWidth(""), 0);
}

TEST_F(PictureBoxTest, DrawingSurvivesResizingAndNewAreaTakesTheBackColour) {
    box_.SetPicture(SolidPicture(2, 2, kRed));
    box_.Surface().CopyFrom(box_.Surface(), 6, 6, 2, 2, 0, 0);  // a drawn mark
    box_.SetWidth(300);
    box_.SetHeight(300);
    ASSERT_EQ(Pixels()->get_width(), 20);
    EXPECT_EQ(PixelAt(Pixels(), 7, 7), kRed) << "the drawn mark was lost";
    EXPECT_EQ(PixelAt(Pixels(), 15, 15), kBlue);
    EXPECT_EQ(PixelAt(Pixels(), 19, 2), kBlue);
    box_.SetWidth(120);  // 8 pixels
    EXPECT_EQ(PixelAt(Pixels(), 7, 7), kRed);
}

TEST_F(PictureBoxTest, AnAbsurdSizeIsHeldAsSetAndDrawingGoesOn) {
    box_.SetPicture(SolidPicture(2, 2, kRed));
    box_.Move(0, 0, 600000, 600000);
    EXPECT_EQ(box_.Width(), 600000);
    EXPECT_EQ(box_.ScaleWidthPixels(), 40000);
    EXPECT_LE(Pixels()->get_width(), platform::Canvas::MaxImageSide);
    EXPECT_LE(Pixels()->get_height(), platform::Canvas::MaxImageSide);
    box_.Print("text");
    box_.Cls();
    EXPECT_EQ(PixelAt(Pixels(), 1, 1), kRed);
    EXPECT_EQ(box_.Image().PixelWidth(), Pixels()->get_width());
    box_.Move(0, 0, 150, 150);
    EXPECT_EQ(Pixels()->get_width(), 10);
}

TEST_F(PictureBoxTest, CopyFromCopiesARectangleFromAnotherBoxOrWithinItself) {
    PictureBox source;
    source.Move(0, 0, 150, 150);
    source.SetBackColor(kOleGreen);
    source.SetPicture(SolidPicture(3, 3, kRed));

    box_.Surface().CopyFrom(source.Surface(), 5, 5, 4, 4, 0, 0);
    EXPECT_EQ(PixelAt(Pixels(), 4, 4), kBlue);
    EXPECT_EQ(PixelAt(Pixels(), 5, 5), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 7, 7), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 8, 8), kGreen);
    EXPECT_EQ(PixelAt(Pixels(), 9, 9), kBlue);
    EXPECT_EQ(PixelAt(Pixels(), 8, 4), kBlue);

    // Tiling doubles a pattern inside one image.
    box_.Surface().CopyFrom(box_.Surface(), 0, 0, 4, 4, 5, 5);
    EXPECT_EQ(PixelAt(Pixels(), 0, 0), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 2, 2), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 3, 3), kGreen);
    EXPECT_EQ(PixelAt(Pixels(), 5, 5), kRed) << "the source rectangle changed";

    // An overlapping copy within the image moves the rectangle as a whole.
    box_.Surface().CopyFrom(box_.Surface(), 1, 1, 4, 4, 0, 0);
    EXPECT_EQ(PixelAt(Pixels(), 1, 1), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 3, 3), kRed);
    EXPECT_EQ(PixelAt(Pixels(), 4, 4), kGreen);
}

TEST_F(PictureBoxTest, ImageIsACopyThatLaterDrawingLeavesAlone) {
    box_.SetPicture(SolidPicture(4, 4, kRed));
    const Picture image = box_.Image();
    EXPECT_EQ(image.PixelWidth(), 10);
    EXPECT_EQ(image.PixelHeight(), 10);
    box_.SetBackColor(kOleGreen);
    box_.SetPicture(Picture());
    EXPECT_EQ(PixelAt(image.Surface(), 1, 1), kRed);
    EXPECT_EQ(PixelAt(image.Surface(), 8, 8), kBlue);
    EXPECT_EQ(PixelAt(Pixels(), 1, 1), kGreen);
    EXPECT_TRUE(box_.GetPicture().Empty());
}

TEST_F(PictureBoxTest, AutoSizeMakesTheBoxTakeThePicturesSize) {
    box_.SetPicture(SolidPicture(7, 5, kRed));
    EXPECT_EQ(box_.Width(), 150) << "without AutoSize the box keeps its size";
    box_.AutoSize = true;
    box_.SetPicture(SolidPicture(7, 5, kRed));
    EXPECT_EQ(box_.Width(), 105);
    EXPECT_EQ(box_.Height(), 75);
    EXPECT_EQ(box_.ScaleWidthPixels(), 7);
    EXPECT_EQ(box_.ScaleHeightPixels(), 5);
    EXPECT_EQ(PixelsOtherThan(Pixels(), {kRed}), 0);
    box_.SetPicture(Picture());
    EXPECT_EQ(box_.Width(), 105) << "taking the picture away keeps the size";
}

TEST_F(PictureBoxTest, PointerEventsReachTheHandlersInTwips) {
    std::vector<std::string> seen;
    box_.MouseDown = [&](int button, int shift, double x, double y) {
        seen.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                       std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    };
    box_.MouseUp = [&](int button, int, double, double) { seen.push_back("up " + std::to_string(button)); };
    box_.Click = [&] { seen.push_back("click"); };
    box_.DblClick = [&] { seen.push_back("double"); };
    Settle();
    auto send = [&](GdkEventType type, double x, double y) {
        GdkEvent* event = gdk_event_new(type);
        event->button.window = GDK_WINDOW(g_object_ref(box_.Widget().get_window()->gobj()));
        event->button.button = 1;
        event->button.x = x;
        event->button.y = y;
        event->button.state = GDK_CONTROL_MASK;
        box_.Widget().event(event);
        gdk_event_free(event);
    };
    send(GDK_BUTTON_PRESS, 2, 3);
    send(GDK_BUTTON_RELEASE, 2, 3);
    send(GDK_BUTTON_PRESS, 2, 3);
    send(GDK_BUTTON_RELEASE, 40, 3);  // released outside: no click
    send(GDK_2BUTTON_PRESS, 2, 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1 2 30,45", "up 1", "click", "down 1 2 30,45", "up 1", "double"}));
}

// Label

class LabelTest : public ::testing::Test {
protected:
    LabelTest() {
        form_.SetWidth(3000);
        form_.SetHeight(1500);
        label_.PlaceIn(form_);
        label_.Move(0, 0, 1500, 450);
        label_.SetFont("Sans", 20, true);
        form_.Show();
        Pump([&] { return label_.Widget().get_allocated_width() == 100; }, 2000);
    }

    // The label painted over a surface filled with the given colour.
    Cairo::RefPtr<Cairo::ImageSurface> Render(std::uint32_t under) {
        auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, 100, 30);
        auto cr = Cairo::Context::create(surface);
        cr->set_source_rgb(((under >> 16) & 0xFF) / 255.0, ((under >> 8) & 0xFF) / 255.0, (under & 0xFF) / 255.0);
        cr->paint();
        gtk_widget_draw(label_.Widget().gobj(), cr->cobj());
        return surface;
    }

    HostForm form_;
    platform::Label label_;
};

TEST_F(LabelTest, AnOpaqueLabelPaintsItsBackColourAndItsCaptionInItsForeColour) {
    label_.SetCaption("WWW");
    label_.SetBackColor(kOleRed);
    label_.SetForeColor(kOleBlue);
    EXPECT_EQ(label_.Caption(), "WWW");
    EXPECT_EQ(label_.BackColor(), kOleRed);
    EXPECT_EQ(label_.ForeColor(), kOleBlue);
    auto pixels = Render(kGreen);
    EXPECT_EQ(PixelAt(pixels, 99, 29), kRed);
    EXPECT_GT(PixelsOtherThan(pixels, {kRed}), 20);
    int pureText = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) pureText += PixelAt(pixels, x, y) == kBlue;
    EXPECT_GT(pureText, 5);
    EXPECT_EQ(PixelsOtherThan(pixels, {kRed}) - PixelsOtherThan(Render(kRed), {kRed}), 0)
        << "an opaque label must cover what is under it";
}

TEST_F(LabelTest, ATransparentLabelLeavesItsContainerVisible) {
    label_.SetTransparent(true);
    label_.SetBackColor(kOleRed);
    label_.SetCaption("");
    EXPECT_TRUE(label_.Transparent());
    EXPECT_EQ(PixelsOtherThan(Render(kGreen), {kGreen}), 0);
}

TEST_F(LabelTest, ADisabledLabelDrawsItsCaptionGrey) {
    label_.SetCaption("WWW");
    label_.SetBackColor(platform::vbBlack);
    label_.SetForeColor(kOleRed);
    label_.SetEnabled(false);
    auto pixels = Render(0);
    int grey = 0, red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            const std::uint32_t p = PixelAt(pixels, x, y);
            grey += p == 0x808080;
            red += (p & 0xFF0000) && !(p & 0x00FFFF);
        }
    EXPECT_GT(grey, 5);
    EXPECT_EQ(red, 0);
}

// List box

TEST(ListBoxTest, ASortedListIgnoresCaseAndKeepsEqualItemsInTheOrderAdded) {
    platform::ListBox list(true);
    for (const char* item : {"b", "A", "c", "pear", "Pear", "PEAR", "a"}) list.AddItem(item);
    EXPECT_TRUE(list.Sorted());
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"A", "a", "b", "c", "pear", "Pear", "PEAR"}));
    EXPECT_EQ(list.ListCount(), 7);
    EXPECT_EQ(list.List(2), "b");

    platform::ListBox unsorted;
    for (const char* item : {"b", "A", "c"}) unsorted.AddItem(item);
    unsorted.AddItem("first", 0);
    unsorted.AddItem("last", 4);
    EXPECT_EQ(unsorted.Items(), (std::vector<std::string>{"first", "b", "A", "c", "last"}));
}

TEST(ListBoxTest, ItemsSetAtOnceSortLikeItemsAddedOneByOne) {
    const std::vector<std::string> items{"b", "A", "c", "pear", "Pear", "PEAR", "a", "\xe9t\xe9", "\xc9t\xe9"};
    platform::ListBox added(true), set(true), plain;
    for (const auto& item : items) added.AddItem(item);
    set.AddItem("gone");
    set.SetListIndex(0);
    set.SetItems(items);
    EXPECT_EQ(set.Items(), added.Items());
    EXPECT_EQ(set.ListIndex(), -1);
    plain.SetItems(items);
    EXPECT_EQ(plain.Items(), items);

    platform::ComboBox combo;
    combo.SetItems(items);
    EXPECT_EQ(combo.Items(), added.Items());
}

TEST(ListBoxTest, NamesThatAreNoUtf8AreListedAsTheyAreAndShownSafely) {
    const auto folder = testing_support::TempRoot() / "names";
    std::filesystem::create_directories(folder);
    for (const char* name : {"Zeta.htm", "caf\xe9.htm", "alpha.HTM", "\xff\xfe.htm", "other.txt"})
        std::ofstream(folder / name) << name;
    platform::FileListBox files("*.htm");
    files.SetPath(folder.string());
    EXPECT_EQ(files.Items(), (std::vector<std::string>{"alpha.HTM", "caf\xe9.htm", "Zeta.htm", "\xff\xfe.htm"}));
    auto& view = static_cast<Gtk::TreeView&>(*static_cast<Gtk::ScrolledWindow&>(files.Widget()).get_child());
    view.get_model()->foreach_iter([](const Gtk::TreeModel::iterator& row) {
        Glib::ustring text;
        row->get_value(0, text);
        EXPECT_TRUE(text.validate()) << text.raw();
        return false;
    });
}

TEST(ListBoxTest, BadIndexesRaiseError5AndChangeNothing) {
    platform::ListBox list;
    list.AddItem("one");
    list.AddItem("two");
    EXPECT_EQ(ErrorNumberOf([&] { list.RemoveItem(2); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { list.RemoveItem(-1); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { list.List(2); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { list.List(-1); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { list.AddItem("x", 3); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { list.Selected(2); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { list.SetListIndex(2); }), platform::errors::InvalidPropertyValue);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"one", "two"}));
}

TEST(ListBoxTest, ListIndexFollowsTheSelectedItemThroughInsertsAndRemovals) {
    platform::ListBox list;
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    for (const char* item : {"a", "b", "c", "d"}) list.AddItem(item);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");
    list.SetListIndex(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.Text(), "c");
    EXPECT_TRUE(list.Selected(2));
    list.AddItem("first", 0);
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_EQ(list.Text(), "c");
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), 2);
    list.RemoveItem(2);
    EXPECT_EQ(list.ListIndex(), -1);
    list.SetListIndex(0);
    list.Clear();
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 0);
}

TEST(ListBoxTest, InASingleSelectionListOnlyTheCurrentItemIsSelected) {
    platform::ListBox list;
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    list.SetListIndex(0);
    list.SetListIndex(1);
    EXPECT_FALSE(list.Selected(0)) << "the item selected before is still reported selected";
    EXPECT_TRUE(list.Selected(1));
    list.SetSelected(2, true);
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_FALSE(list.Selected(1));
    list.SetListIndex(-1);
    EXPECT_FALSE(list.Selected(2));
}

TEST(ListBoxTest, AMultipleSelectionListKeepsEachItemsSelectionAndFollowsTheView) {
    platform::ListBox list(false, true);
    for (const char* item : {"a", "b", "c", "d"}) list.AddItem(item);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(2));
    list.SetSelected(0, false);
    EXPECT_FALSE(list.Selected(0));

    // A selection made in the view, as the user's clicks make it.
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    auto* view = dynamic_cast<Gtk::TreeView*>(static_cast<Gtk::ScrolledWindow&>(list.Widget()).get_child());
    ASSERT_NE(view, nullptr);
    view->get_selection()->unselect_all();
    view->get_selection()->select(Gtk::TreePath("1"));
    view->get_selection()->select(Gtk::TreePath("3"));
    EXPECT_GT(clicks, 0);
    EXPECT_FALSE(list.Selected(2));
    EXPECT_TRUE(list.Selected(1));
    EXPECT_TRUE(list.Selected(3));
    EXPECT_EQ(list.ListIndex(), 1);
}

TEST(ListBoxTest, AfterARemovalTheRowsHighlightedAreTheRowsSelected) {
    for (const bool multiSelect : {false, true}) {
        SCOPED_TRACE(multiSelect ? "multiple selection" : "single selection");
        platform::ListBox list(false, multiSelect);
        for (const char* item : {"a", "b", "c", "d"}) list.AddItem(item);
        auto* view = dynamic_cast<Gtk::TreeView*>(static_cast<Gtk::ScrolledWindow&>(list.Widget()).get_child());
        ASSERT_NE(view, nullptr);
        const auto highlighted = [&](int row) { return view->get_selection()->is_selected(Gtk::TreePath(std::to_string(row))); };
        // The user clicks "b", and in a list of many selections adds "d" with Ctrl.
        view->set_cursor(Gtk::TreePath("1"));
        if (multiSelect) view->get_selection()->select(Gtk::TreePath("3"));
        ASSERT_EQ(list.Text(), "b");

        list.RemoveItem(list.ListIndex());
        EXPECT_EQ(list.ListIndex(), -1);
        for (int row = 0; row < list.ListCount(); ++row) EXPECT_EQ(highlighted(row), list.Selected(row)) << row;
        EXPECT_EQ(list.Selected(2), multiSelect) << "the other selected row";

        // A click on the row that took the removed one's place selects it, and it can be removed.
        view->set_cursor(Gtk::TreePath("1"));
        EXPECT_EQ(list.Text(), "c");
        list.RemoveItem(list.ListIndex());
        EXPECT_EQ(list.Items(), (std::vector<std::string>{"a", "d"}));
    }
}

// Combo box

TEST(ComboBoxTest, ItemsAreSortedIgnoringCase) {
    platform::ComboBox combo;
    for (const char* item : {"b", "A", "c", "a"}) combo.AddItem(item);
    EXPECT_EQ(combo.Items(), (std::vector<std::string>{"A", "a", "b", "c"}));
    EXPECT_EQ(combo.List(1), "a");
    EXPECT_EQ(ErrorNumberOf([&] { combo.List(4); }), 5);
    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
}

TEST(ComboBoxTest, TextAndTheSelectionInItRoundTripInCharacters) {
    platform::ComboBox combo;
    combo.SetText("hello world");
    EXPECT_EQ(combo.Text(), "hello world");
    combo.SetSelStart(6);
    EXPECT_EQ(combo.SelStart(), 6);
    EXPECT_EQ(combo.SelLength(), 0);
    combo.SetSelLength(5);
    EXPECT_EQ(combo.SelStart(), 6);
    EXPECT_EQ(combo.SelLength(), 5);
    combo.SetSelStart(2);
    EXPECT_EQ(combo.SelLength(), 0) << "moving the start drops the selection";
    combo.SetSelStart(100);
    EXPECT_EQ(combo.SelStart(), 11);

    combo.SetText("grüße aus");
    combo.SetSelStart(2);
    combo.SetSelLength(3);
    EXPECT_EQ(combo.SelStart(), 2);
    EXPECT_EQ(combo.SelLength(), 3);
    combo.SetSelStart(9);
    EXPECT_EQ(combo.SelStart(), 9);
    combo.SetSelStart(12);
    EXPECT_EQ(combo.SelStart(), 9);
    EXPECT_EQ(combo.Text(), "grüße aus");
}

TEST(ComboBoxTest, KeyCodesAreTheToolkitsOwn) {
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_a), 'A');
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_A), 'A');
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_5), '5');
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_Return), platform::vbKeyReturn);
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_KP_Enter), platform::vbKeyReturn);
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_BackSpace), platform::vbKeyBack);
    EXPECT_EQ(platform::KeyCodeOf(GDK_KEY_Delete), platform::vbKeyDelete);
}

// Writes what is printed on the standard error stream meanwhile into a string.
class StandardErrorCapture {
public:
    StandardErrorCapture() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
        std::fflush(stderr);
        dup2(fileno(file_), STDERR_FILENO);
    }
    ~StandardErrorCapture() { Release(); std::fclose(file_); }
    std::string Release() {
        if (saved_ < 0) return text_;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) text_ += static_cast<char>(c);
        return text_;
    }

private:
    std::FILE* file_;
    int saved_;
    std::string text_;
};

// The drop-down of a combo box while it is shown: the window of the menu and its rows.
struct DropDown {
    int height = 0;
    int rows = 0;
};

std::optional<DropDown> ShownDropDown() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
        auto* menu = dynamic_cast<Gtk::Menu*>(window->get_child());
        if (menu && window->get_mapped())
            return DropDown{window->get_allocated_height(), static_cast<int>(menu->get_children().size())};
    }
    return std::nullopt;
}

TEST(ComboBoxTest, TheListDropsDownWithAllItsRowsTheFirstTimeAsLater) {
    HostForm form;
    form.SetWidth(4500);
    form.SetHeight(3000);
    platform::ComboBox combo;
    combo.PlaceIn(form);
    combo.Move(300, 300, 3000, 330);
    combo.SetItems({"http://e.example/", "http://d.example/", "http://c.example/", "http://b.example/", "http://a.example/"});
    combo.SetText("typed");
    form.Show();
    auto& box = static_cast<Gtk::ComboBox&>(combo.Widget());
    Gtk::Widget* arrow = nullptr;
    box.forall([&](Gtk::Widget& child) {
        if (auto* container = dynamic_cast<Gtk::Container*>(&child))
            for (Gtk::Widget* inner : container->get_children())
                if (dynamic_cast<Gtk::ToggleButton*>(inner)) arrow = inner;
    });
    ASSERT_NE(arrow, nullptr);
    ASSERT_TRUE(Pump([&] { return arrow->get_mapped() && arrow->get_allocated_height() > 1; }, 3000));

    // A click on the arrow, as the user drops the list down; the list is put away again.
    const auto dropDown = [&] {
        for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            event->button.window = GDK_WINDOW(g_object_ref(gtk_button_get_event_window(GTK_BUTTON(arrow->gobj()))));
            event->button.button = 1;
            event->button.x = event->button.y = 3;
            event->button.time = GDK_CURRENT_TIME;
            gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
            gtk_main_do_event(event);
            gdk_event_free(event);
        }
        std::optional<DropDown> shown;
        Pump([&] { return (shown = ShownDropDown()) && shown->height > 1; }, 3000);
        testing_support::PumpFor(200);
        shown = ShownDropDown();
        box.popdown();
        Pump([&] { return !ShownDropDown(); }, 3000);
        testing_support::PumpFor(300);
        return shown;
    };
    StandardErrorCapture errors;
    const auto first = dropDown();
    const auto second = dropDown();
    const std::string printed = errors.Release();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->rows, combo.ListCount());
    EXPECT_EQ(first->rows, second->rows);
    EXPECT_EQ(first->height, second->height);
    EXPECT_EQ(printed.find("Invalid rectangle"), std::string::npos) << printed;
    EXPECT_EQ(combo.Text(), "typed");
}

// Message boxes and colours

TEST(MsgBoxTest, TheResponderAnswersInsteadOfADialog) {
    std::vector<std::string> asked;
    platform::SetMsgBoxResponder([&](const std::string& prompt, int buttons, const std::string& title) {
        asked.push_back(title + ": " + prompt + " " + std::to_string(buttons));
        return platform::vbNo;
    });
    EXPECT_EQ(platform::MsgBox("Delete?", platform::vbYesNo + platform::vbQuestion, "Cookies"), platform::vbNo);
    EXPECT_EQ(platform::MsgBox("Done"), platform::vbNo);
    EXPECT_EQ(asked, (std::vector<std::string>{"Cookies: Delete? 36", "Quellin: Done 0"}));
    platform::SetMsgBoxResponder(nullptr);
}

TEST(ColorTest, OleColoursAreBlueGreenRedAndSystemColoursMapToRealColours) {
    const auto red = platform::ToRgb(kOleRed);
    EXPECT_EQ(red.red, 1.0);
    EXPECT_EQ(red.green, 0.0);
    EXPECT_EQ(red.blue, 0.0);
    const auto mixed = platform::ToRgb(0x336699);
    EXPECT_DOUBLE_EQ(mixed.red, 0x99 / 255.0);
    EXPECT_DOUBLE_EQ(mixed.blue, 0x33 / 255.0);
    const auto window = platform::ToRgb(platform::vbWindowBackground), text = platform::ToRgb(platform::vbWindowText);
    EXPECT_GT(window.red + window.green + window.blue, text.red + text.green + text.blue)
        << "window background should be lighter than window text";
}

}  // namespace
