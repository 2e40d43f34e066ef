#include <gtest/gtest.h>
#include <cairomm/context.h>
#include <gtkmm/entry.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/button.h"
#include "platform/combobox.h"
#include "platform/control_array.h"
#include "platform/error.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/picturebox.h"
#include "platform/timer.h"
#include "child_process.h"
#include "test_support.h"

namespace {

using platform::ControlArray;
using platform::Label;
using platform::PictureBox;
using platform::Timer;
using testing_support::Pump;

class HostForm : public platform::Form {};

using testing_support::ErrorNumberOf;

std::vector<int> LoadedIndexes(ControlArray<Label>& array) {
    std::vector<int> indexes;
    array.ForEach([&](Label&, int index) { indexes.push_back(index); });
    return indexes;
}

class ControlArrayTest : public ::testing::Test {
protected:
    ControlArrayTest() {
        form_.SetWidth(6000);
        form_.SetHeight(3000);
        labels_.Create([this](Label& label, int index) {
            label.PlaceIn(form_);
            label.Click = [this, index] { clicked_.push_back(index); };
            madeIndexes_.push_back(index);
        });
    }

    HostForm form_;
    ControlArray<Label> labels_;
    std::vector<int> madeIndexes_, clicked_;
};

TEST_F(ControlArrayTest, ALoadedElementCopiesElementZerosSettingsAndStartsHidden) {
    Label& first = labels_(0);
    first.Move(150, 300, 1500, 450);
    first.SetToolTipText("tab");
    first.SetCaption("Home");
    first.SetForeColor(0x0000FF);
    first.SetBackColor(0xFF0000);
    first.SetTransparent(true);
    first.SetEnabled(false);

    labels_.Load(1);
    Label& loaded = labels_(1);
    EXPECT_EQ(madeIndexes_, (std::vector<int>{0, 1}));
    EXPECT_EQ(loaded.Left(), 150);
    EXPECT_EQ(loaded.Top(), 300);
    EXPECT_EQ(loaded.Width(), 1500);
    EXPECT_EQ(loaded.Height(), 450);
    EXPECT_EQ(loaded.ToolTipText(), "tab");
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_EQ(loaded.Caption(), "Home");
    EXPECT_EQ(loaded.ForeColor(), 0x0000FFu);
    EXPECT_EQ(loaded.BackColor(), 0xFF0000u);
    EXPECT_TRUE(loaded.Transparent());
    EXPECT_FALSE(loaded.Visible());
    EXPECT_FALSE(loaded.Widget().get_visible());
    EXPECT_TRUE(first.Visible());

    // Each element's handlers know their own index.
    loaded.Click();
    first.Click();
    EXPECT_EQ(clicked_, (std::vector<int>{1, 0}));
}

TEST_F(ControlArrayTest, ALoadedPictureBoxCopiesPictureColoursAndFont) {
    ControlArray<PictureBox> boxes;
    boxes.Create([this](PictureBox& box, int) { box.PlaceIn(form_); });
    auto picture = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, 2, 2);
    Cairo::Context::create(picture)->paint();  // black
    PictureBox& first = boxes(0);
    first.Move(0, 0, 150, 150);
    first.SetBackColor(0xFFFFFF);
    first.SetForeColor(0x00FF00);
    first.Surface().FontSize = 14;
    first.AutoSize = true;
    first.SetPicture(platform::Picture(picture));

    boxes.Load(3);
    PictureBox& loaded = boxes(3);
    EXPECT_EQ(loaded.GetPicture(), first.GetPicture());
    EXPECT_EQ(loaded.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(loaded.ForeColor(), 0x00FF00u);
    EXPECT_EQ(loaded.Surface().FontSize, 14);
    EXPECT_TRUE(loaded.AutoSize);
    EXPECT_EQ(loaded.Width(), first.Width());
    EXPECT_EQ(loaded.ScaleWidthPixels(), 2);
    auto pixels = loaded.Surface().ImageSurface();
    pixels->flush();
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(pixels->get_data())[0] & 0xFFFFFF, 0u)
        << "the loaded box does not show the picture";
}

TEST_F(ControlArrayTest, HolesStayAndUBoundIsTheHighestLoadedIndex) {
    EXPECT_EQ(labels_.UBound(), 0);
    for (int index = 1; index <= 3; ++index) labels_.Load(index);
    labels_.Unload(2);
    EXPECT_EQ(labels_.UBound(), 3);
    EXPECT_FALSE(labels_.Exists(2));
    EXPECT_EQ(labels_.Count(), 3);
    EXPECT_EQ(LoadedIndexes(labels_), (std::vector<int>{0, 1, 3}));
    labels_.Unload(3);
    EXPECT_EQ(labels_.UBound(), 1);
    labels_.Load(2);
    EXPECT_EQ(LoadedIndexes(labels_), (std::vector<int>{0, 1, 2}));
    labels_.Load(10);
    EXPECT_EQ(labels_.UBound(), 10);
    EXPECT_EQ(labels_.LBound(), 0);
}

TEST_F(ControlArrayTest, MissingExistingAndDesignTimeElementsRaiseTheToolkitsErrors) {
    labels_.Load(1);
    labels_.Unload(1);
    EXPECT_EQ(ErrorNumberOf([&] { labels_(1); }), platform::errors::ControlArrayElementMissing);
    EXPECT_EQ(ErrorNumberOf([&] { labels_(-1); }), platform::errors::ControlArrayElementMissing);
    EXPECT_EQ(ErrorNumberOf([&] { labels_.Unload(1); }), platform::errors::ControlArrayElementMissing);
    EXPECT_EQ(ErrorNumberOf([&] { labels_.Unload(0); }), platform::errors::CannotUnloadDesignTimeControl);
    EXPECT_EQ(ErrorNumberOf([&] { labels_.Load(0); }), platform::errors::ControlArrayElementExists);
    EXPECT_EQ(ErrorNumberOf([&] { labels_.Load(-1); }), platform::errors::SubscriptOutOfRange);
    EXPECT_TRUE(labels_.Exists(0));
    EXPECT_EQ(labels_.Count(), 1);
    try {
        labels_(7);
    } catch (const platform::ToolkitError& error) {
        EXPECT_NE(error.Description().find("'7'"), std::string::npos) << error.Description();
    }
}

TEST_F(ControlArrayTest, AnUnloadedElementLeavesTheFormAtOnceAndIsDestroyedLater) {
    labels_.Load(1);
    labels_(1).SetVisible(true);
    Gtk::Widget* widget = &labels_(1).Widget();
    EXPECT_EQ(widget->get_parent(), &form_.ChildArea());
    labels_.Unload(1);
    EXPECT_FALSE(widget->get_visible());
    ASSERT_TRUE(Pump([&] {
        auto children = form_.ChildArea().get_children();
        return children.size() == 1;
    }, 1000)) << "the unloaded element's widget stays in the form";
}

TEST_F(ControlArrayTest, AnElementCanUnloadItselfInItsOwnHandler) {
    labels_.Load(1);
    bool finished = false;
    labels_(1).Click = [this, &finished] {
        Label& self = labels_(1);
        labels_.Unload(1);
        platform::DoEvents();  // the element must outlive the handler that unloaded it
        self.SetCaption("unloaded");
        finished = self.Caption() == "unloaded";
    };
    platform::Dispatch([this] { labels_(1).Click(); });
    EXPECT_TRUE(finished);
    EXPECT_FALSE(labels_.Exists(1));
    ASSERT_TRUE(Pump([&] { return form_.ChildArea().get_children().size() == 1; }, 1000));
}

TEST(TimerArrayTest, ATimerElementThatUnloadsItselfOnItsTickStopsAndTheOthersGoOn) {
    ControlArray<Timer> timers;
    std::vector<int> ticks(3, 0);
    timers.Create([&](Timer& timer, int index) {
        timer.Tick = [&, index] {
            ++ticks[index];
            if (index != 0) {
                timers.Unload(index);
                platform::DoEvents();
            }
        };
    });
    timers(0).SetInterval(10);
    timers.Load(1);
    timers.Load(2);
    EXPECT_EQ(timers(1).Interval(), 10);
    EXPECT_TRUE(timers(2).Enabled());
    ASSERT_TRUE(Pump([&] { return !timers.Exists(1) && !timers.Exists(2); }, 2000));
    ASSERT_TRUE(Pump([&] { return ticks[0] >= 5; }, 2000));
    EXPECT_EQ(ticks[1], 1);
    EXPECT_EQ(ticks[2], 1);
    EXPECT_EQ(timers.UBound(), 0);
}

// An element's event that is held back (while the layer waits for the engine) and
// comes due after a handler unloaded the element never reaches it: neither in a
// nested loop of that handler, while the element waits to be destroyed, nor after
// the handler returned, when it is destroyed.
template <typename T, typename Member>
int HandlerRunsForAnUnloadedElement(Member handler, const std::function<void(T&)>& raise, bool nestedLoop) {
    HostForm form;
    form.SetWidth(6000);
    form.SetHeight(3000);
    ControlArray<T> array;
    int runs = 0;
    array.Create([&](T& element, int) {
        element.PlaceIn(form);
        element.Move(0, 0, 1500, 450);
        element.*handler = [&runs](auto...) { ++runs; };
    });
    array.Load(1);
    array(1).SetVisible(true);
    form.Show();
    Pump([&] { return array(1).Widget().get_mapped(); }, 3000);
    platform::Dispatch([&] {
        {
            platform::HandlerBlock engineWait;
            raise(array(1));
        }
        array.Unload(1);
        if (nestedLoop) platform::DoEvents();
    });
    Pump([&] { return form.ChildArea().get_children().size() == 1; }, 3000);
    platform::DoEvents();
    return runs;
}

void SendClick(Gtk::Widget& widget) {
    for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->button.window = GDK_WINDOW(g_object_ref(widget.get_window()->gobj()));
        event->button.button = 1;
        event->button.x = event->button.y = 2;
        widget.event(event);
        gdk_event_free(event);
    }
}

TEST(ControlEventTest, AnEventHeldBackDoesNotReachAnElementUnloadedMeanwhile) {
    for (const bool nestedLoop : {true, false}) {
        SCOPED_TRACE(nestedLoop ? "due in a nested loop" : "due after the handler");
        EXPECT_EQ(HandlerRunsForAnUnloadedElement<platform::CommandButton>(
                      &platform::Control::Click,
                      [](auto& button) { static_cast<Gtk::Button&>(button.Widget()).clicked(); }, nestedLoop),
                  0)
            << "button";
        EXPECT_EQ(HandlerRunsForAnUnloadedElement<Label>(
                      &platform::Control::MouseDown, [](auto& label) { SendClick(label.Widget()); }, nestedLoop),
                  0)
            << "pointer on a label";
        EXPECT_EQ(HandlerRunsForAnUnloadedElement<Label>(
                      &platform::Control::Click, [](auto& label) { SendClick(label.Widget()); }, nestedLoop),
                  0)
            << "label";
        EXPECT_EQ(HandlerRunsForAnUnloadedElement<platform::ListBox>(
                      &platform::Control::Click,
                      [](auto& list) {
                          list.AddItem("row");
                          auto& scroller = static_cast<Gtk::ScrolledWindow&>(list.Widget());
                          static_cast<Gtk::TreeView*>(scroller.get_child())->set_cursor(Gtk::TreePath("0"));
                      },
                      nestedLoop),
                  0)
            << "list box";
        EXPECT_EQ(HandlerRunsForAnUnloadedElement<platform::ComboBox>(
                      &platform::ComboBox::Change,
                      [](auto& combo) { static_cast<Gtk::ComboBoxText&>(combo.Widget()).get_entry()->set_text("typed"); },
                      nestedLoop),
                  0)
            << "combo box";
    }
}

// The test below starts this program again; the child writes here which elements it saw end.
constexpr const char* EndReportVariable = "QUELLIN_TEST_END_REPORT";

struct EndReporter {
    ~EndReporter() { std::ofstream(std::getenv(EndReportVariable), std::ios::app) << index << "\n"; }
    void CopySettingsFrom(const EndReporter&) {}
    int index = 0;
};

TEST(RetiredElementTest, AnElementUnloadedJustBeforeTheProgramEndsIsStillDestroyed) {
    const auto folder = testing_support::TempRoot() / "retired";
    std::filesystem::create_directories(folder);
    const auto report = folder / "ended.txt";
    ASSERT_TRUE(testing_support::RunThisProgram(
        "RetiredElementChild.*", {{EndReportVariable, report.string()}, {testing_support::TestRootVariable, folder.string()}}));
    std::ifstream lines(report);
    std::vector<std::string> ended;
    for (std::string line; std::getline(lines, line);) ended.push_back(line);
    EXPECT_EQ(ended, std::vector<std::string>{"1"}) << "element 1 is deleted once, element 0 still belongs to its array";
    std::filesystem::remove_all(folder);
}

TEST(RetiredElementChild, EndsTheProgramInTheHandlerThatUnloadedAnElement) {
    if (!std::getenv(EndReportVariable)) GTEST_SKIP() << "runs only when started by the test of retired elements";
    ControlArray<EndReporter> elements;
    elements.Create([](EndReporter& element, int index) { element.index = index; });
    elements.Load(1);
    platform::Dispatch([&] {
        elements.Unload(1);
        std::exit(0);
    });
}

}  // namespace
