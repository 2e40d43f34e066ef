#include <gtest/gtest.h>
#include <gdkmm/window.h>
#include <glib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/focus_keeper.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "child_process.h"
#include "test_support.h"

namespace {

using platform::Form;
using platform::FormSlot;
using testing_support::Pump;
using testing_support::PumpFor;

// A form whose handlers write to a shared log and call what the test hands them.
class ProbeForm : public Form {
public:
    struct Hooks {
        std::function<void(ProbeForm&)> construct, load, resize, timerTick;
        std::function<void(ProbeForm&, int& cancel)> unload;
    };
    static inline Hooks hooks;
    static inline std::vector<std::string> log;
    static inline int destroyed = 0;

    ProbeForm() {
        Timer1.Tick = [this] {
            if (hooks.timerTick) hooks.timerTick(*this);
        };
        Timer1.SetEnabled(false);
        if (hooks.construct) hooks.construct(*this);
    }
    ~ProbeForm() override { ++destroyed; }

    platform::Timer Timer1;
    std::string note;

protected:
    void Form_Load() override {
        log.push_back("Load");
        if (hooks.load) hooks.load(*this);
    }
    void Form_Resize() override {
        log.push_back("Resize " + std::to_string(static_cast<int>(Width())) + "x" +
                      std::to_string(static_cast<int>(Height())) + " state " + std::to_string(WindowState()));
        if (hooks.resize) hooks.resize(*this);
    }
    void Form_Activate() override { log.push_back("Activate"); }
    void Form_Deactivate() override { log.push_back("Deactivate"); }
    void Form_GotFocus() override { log.push_back("GotFocus"); }
    void Form_Unload(int& cancel) override {
        log.push_back("Unload");
        if (hooks.unload) hooks.unload(*this, cancel);
    }
};

int Count(const std::vector<std::string>& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProbeForm::hooks = {};
        ProbeForm::log.clear();
        ProbeForm::destroyed = 0;
    }
    void TearDown() override {
        ProbeForm::hooks = {};
        if (slot_.Loaded()) slot_.Unload();
        PumpFor(10);
    }

    FormSlot<ProbeForm> slot_;
};

// Default instances

TEST_F(FormTest, FirstUseLoadsTheFormAndRunsFormLoadOnce) {
    // Form_Load reaching its own default instance gets the form being loaded.
    ProbeForm::hooks.load = [this](ProbeForm& form) { EXPECT_EQ(&slot_.Get(), &form); };
    EXPECT_FALSE(slot_.Loaded());
    EXPECT_EQ(slot_.IfLoaded(), nullptr);
    slot_->SetCaption("Probe");
    EXPECT_TRUE(slot_.Loaded());
    EXPECT_EQ(slot_->Caption(), "Probe");
    slot_->Move(0, 0);
    EXPECT_EQ(ProbeForm::log, std::vector<std::string>{"Load"});
    EXPECT_EQ(slot_.IfLoaded(), &slot_.Get());
}

TEST_F(FormTest, UnloadRunsFormUnloadEmptiesTheSlotAndTheNextUseLoadsAfresh) {
    slot_->SetCaption("first");
    slot_.Unload();
    EXPECT_FALSE(slot_.Loaded());
    EXPECT_EQ(ProbeForm::log, (std::vector<std::string>{"Load", "Unload"}));
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000)) << "the unloaded form is never destroyed";

    EXPECT_EQ(slot_->Caption(), "") << "the next use must get a new form";
    EXPECT_EQ(ProbeForm::log, (std::vector<std::string>{"Load", "Unload", "Load"}));
    slot_.Unload();
    slot_.Unload();
    EXPECT_EQ(Count(ProbeForm::log, "Unload"), 2) << "unloading an empty slot runs nothing";
}

TEST_F(FormTest, FormUnloadCanCancel) {
    ProbeForm::hooks.unload = [](ProbeForm&, int& cancel) { cancel = 1; };
    slot_->Show();
    ProbeForm* form = &slot_.Get();
    slot_.Unload();
    form->Unload();
    EXPECT_TRUE(slot_.Loaded());
    EXPECT_EQ(&slot_.Get(), form);
    EXPECT_TRUE(form->Window().get_visible());
    EXPECT_EQ(Count(ProbeForm::log, "Unload"), 2);
    EXPECT_EQ(Count(ProbeForm::log, "Load"), 1);
}

TEST_F(FormTest, AFormWhoseUnloadHandlerRaisedCanBeUnloadedAgain) {
    bool raise = true;
    ProbeForm::hooks.unload = [&](ProbeForm&, int&) {
        if (std::exchange(raise, false)) throw platform::ToolkitError(75, "Path/File access error");
    };
    slot_.Get();
    EXPECT_THROW(slot_.Unload(), platform::ToolkitError);
    EXPECT_TRUE(slot_.Loaded());
    slot_.Unload();
    EXPECT_FALSE(slot_.Loaded());
    EXPECT_EQ(Count(ProbeForm::log, "Unload"), 2);
}

TEST_F(FormTest, ClosingTheWindowUnloadsTheFormUnlessFormUnloadCancels) {
    int cancelNext = 1;
    ProbeForm::hooks.unload = [&](ProbeForm&, int& cancel) { cancel = cancelNext; };
    slot_->Show();
    slot_->Window().close();
    ASSERT_TRUE(Pump([] { return Count(ProbeForm::log, "Unload") == 1; }, 2000));
    EXPECT_TRUE(slot_.Loaded());
    EXPECT_TRUE(slot_.Get().Window().get_visible());

    cancelNext = 0;
    slot_->Window().close();
    ASSERT_TRUE(Pump([&] { return !slot_.Loaded(); }, 2000));
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000));
}

TEST_F(FormTest, AFormThatUnloadsItselfInFormLoadIsGoneWithoutACrash) {
    ProbeForm::hooks.load = [](ProbeForm& form) {
        form.Unload();
        form.note = "still usable while its handler runs";
    };
    slot_->Show();
    EXPECT_FALSE(slot_.Loaded());
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000));
    EXPECT_EQ(ProbeForm::log, (std::vector<std::string>{"Load", "Unload"}));

    // A modal show of such a form must not wait for a form that is gone.
    slot_->Show(platform::vbModal);
    EXPECT_FALSE(slot_.Loaded());
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 2; }, 1000));
}

TEST_F(FormTest, AFormThatUnloadsItselfInsideItsTimerHandlerIsGoneWithoutACrash) {
    ProbeForm::hooks.timerTick = [](ProbeForm& form) {
        form.Timer1.SetEnabled(false);
        form.Unload();
        // The handler goes on with its own form, even across DoEvents.
        platform::DoEvents();
        form.note = "after unload";
        form.SetCaption(form.note);
    };
    slot_->Timer1.SetInterval(5);
    slot_->Timer1.SetEnabled(true);
    ASSERT_TRUE(Pump([&] { return !slot_.Loaded(); }, 2000));
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000));
    EXPECT_EQ(Count(ProbeForm::log, "Unload"), 1);
}

TEST_F(FormTest, AFormUnloadedByAFormItLoadsLivesUntilItsOwnLoadHandlerReturns) {
    // As a splash window loads the main window, which unloads the splash window.
    FormSlot<ProbeForm> main;
    int loads = 0;
    ProbeForm::hooks.load = [&](ProbeForm& form) {
        if (++loads == 1) {
            main->SetCaption("main");
            platform::DoEvents();
            form.SetCaption("splash, already unloaded");
            form.note = form.Caption();
        } else {
            slot_.Unload();
        }
    };
    slot_->Caption();
    EXPECT_FALSE(slot_.Loaded());
    EXPECT_TRUE(main.Loaded());
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000));
    main.Unload();
}

// Geometry held by the layer

TEST_F(FormTest, ExtraInstancesLoadAtOnceAndGoAwayWhenTheyUnloadThemselves) {
    slot_->SetCaption("default");
    auto& extra = platform::NewInstance<ProbeForm>();
    extra.note = "extra";
    EXPECT_NE(&extra, &slot_.Get());
    EXPECT_EQ(Count(ProbeForm::log, "Load"), 2);
    const auto& loaded = platform::LoadedForms();
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), &extra), 1);
    // Shown with an owner, the window manager keeps it above the owner.
    extra.Show(platform::vbModeless, &slot_.Get());
    EXPECT_EQ(extra.Window().get_transient_for(), &slot_->Window());

    // The extra instance unloads itself from its own timer; the default instance stays.
    ProbeForm::hooks.timerTick = [](ProbeForm& form) { form.Unload(); };
    extra.Timer1.SetInterval(1);
    extra.Timer1.SetEnabled(true);
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000)) << "the extra instance is never destroyed";
    EXPECT_EQ(Count(ProbeForm::log, "Unload"), 1);
    EXPECT_TRUE(slot_.Loaded());
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), &slot_.Get()), 1);
    EXPECT_EQ(loaded.size(), 1u);
}

TEST_F(FormTest, FormLoadThatSetsTheWidthRunsFormResize) {
    ProbeForm::hooks.load = [](ProbeForm& form) { form.SetWidth(3000); };
    slot_->Caption();
    EXPECT_EQ(ProbeForm::log, (std::vector<std::string>{"Load", "Resize 3000x0 state 0"}));
}

TEST_F(FormTest, GeometrySetWhileTheFormIsBuiltRaisesNoResizeUntilItIsFirstShown) {
    ProbeForm::hooks.construct = [](ProbeForm& form) {
        form.SetWidth(4500);
        form.SetHeight(3000);
        form.SetWindowState(platform::vbNormal);
    };
    slot_->Caption();
    EXPECT_EQ(ProbeForm::log, std::vector<std::string>{"Load"});
    EXPECT_EQ(slot_->Width(), 4500);
    slot_->Show();
    slot_->Show();
    EXPECT_EQ(ProbeForm::log, (std::vector<std::string>{"Load", "Resize 4500x3000 state 0"}));
}

TEST_F(FormTest, WidthHeightAndWindowStateRunFormResizeAtOnceAndOnlyOnAChange) {
    slot_->Caption();
    ProbeForm::log.clear();
    slot_->SetWidth(6000);
    EXPECT_EQ(ProbeForm::log, std::vector<std::string>{"Resize 6000x0 state 0"});
    slot_->SetHeight(4500);
    slot_->SetWindowState(platform::vbMaximized);
    EXPECT_EQ(slot_->WindowState(), platform::vbMaximized);
    slot_->SetWindowState(platform::vbNormal);
    EXPECT_EQ(ProbeForm::log, (std::vector<std::string>{"Resize 6000x0 state 0", "Resize 6000x4500 state 0",
                                                        "Resize 6000x4500 state 2", "Resize 6000x4500 state 0"}));
    ProbeForm::log.clear();
    slot_->SetWidth(6000);
    slot_->SetHeight(4500);
    slot_->SetWindowState(platform::vbNormal);
    EXPECT_TRUE(ProbeForm::log.empty());
}

TEST_F(FormTest, WindowStateSetByTheProgramStaysAsSetOnceTheWindowReports) {
    slot_->Show();
    PumpFor(20);
    ProbeForm::log.clear();
    slot_->SetWindowState(platform::vbMaximized);
    slot_->SetWindowState(platform::vbNormal);
    slot_->SetWindowState(platform::vbMinimized);
    slot_->SetWindowState(platform::vbNormal);
    PumpFor(200);
    EXPECT_EQ(slot_->WindowState(), platform::vbNormal);
    EXPECT_EQ(ProbeForm::log.size(), 4u) << "the window's reports of our own changes must not run Form_Resize again";
}

TEST_F(FormTest, AResizeHandlerThatRaisesTheWidthSeesTheInnerRunCompleteFirst) {
    std::vector<std::string> trace;
    ProbeForm::hooks.resize = [&](ProbeForm& form) {
        trace.push_back("enter " + std::to_string(static_cast<int>(form.Width())));
        if (form.Width() < 2000) form.SetWidth(2000);
        trace.push_back("leave " + std::to_string(static_cast<int>(form.Width())));
    };
    slot_->SetWidth(1000);
    EXPECT_EQ(trace, (std::vector<std::string>{"enter 1000", "enter 2000", "leave 2000", "leave 2000"}));
    EXPECT_EQ(slot_->Width(), 2000);
}

TEST_F(FormTest, LeftAndTopReadBackExactlyAsSetEvenFarOffScreen) {
    slot_->SetWidth(1500);
    slot_->SetHeight(1500);
    slot_->Show();
    slot_->SetLeft(-999999);
    slot_->SetTop(123.5);
    EXPECT_EQ(slot_->Left(), -999999);
    EXPECT_EQ(slot_->Top(), 123.5);
    slot_->Move(-999999, -999999);
    EXPECT_EQ(slot_->Left(), -999999);
    EXPECT_EQ(slot_->Top(), -999999);

    // The X window itself can only go as far as 16-bit coordinates reach.
    auto window = slot_->Window().get_window();
    ASSERT_TRUE(window);
    int x = 0, y = 0;
    ASSERT_TRUE(Pump([&] {
        window->get_root_origin(x, y);
        return x == -32768 && y == -32768;
    }, 2000)) << "window at " << x << "," << y;
}

TEST_F(FormTest, AMoveOrResizeMadeOutsideTheProgramIsReadBackAndANewSizeRaisesFormResize) {
    slot_->Move(1500, 1500);
    slot_->SetWidth(3000);
    slot_->SetHeight(1500);
    slot_->Show();
    auto window = slot_->Window().get_window();
    int x = 0, y = 0;
    ASSERT_TRUE(Pump([&] {
        window->get_root_origin(x, y);
        return x == 100 && y == 100;
    }, 2000));
    ProbeForm::log.clear();

    // As a window manager would: behind the layer's back.
    window->move(130, 90);
    ASSERT_TRUE(Pump([&] { return slot_->Left() == 130 * 15 && slot_->Top() == 90 * 15; }, 2000));
    EXPECT_TRUE(ProbeForm::log.empty()) << "a move alone raises no Form_Resize";

    window->resize(250, 120);
    ASSERT_TRUE(Pump([&] { return slot_->Width() == 250 * 15 && slot_->Height() == 120 * 15; }, 2000));
    ASSERT_TRUE(Pump([] { return !ProbeForm::log.empty(); }, 2000));
    EXPECT_EQ(ProbeForm::log.back(), "Resize 3750x1800 state 0");
    EXPECT_EQ(slot_->Surface().PixelWidth(), 250);

    // The program's own later moves are not undone by the window's reports of earlier ones.
    for (int step = 1; step <= 5; ++step) slot_->SetLeft(1950 + 150 * step);
    PumpFor(200);
    EXPECT_EQ(slot_->Left(), 1950 + 750);
}

TEST_F(FormTest, AnAbsurdSizeIsHeldAsSetAndTheWindowGetsWhatXCanTake) {
    slot_->SetWidth(3000000);
    slot_->SetHeight(450);
    slot_->Show();
    EXPECT_EQ(slot_->Width(), 3000000);
    EXPECT_EQ(slot_->Surface().PixelWidth(), 32767);
    auto& canvas = slot_->Surface();
    EXPECT_LE(canvas.ImageSurface()->get_width(), platform::Canvas::MaxImageSide);
    canvas.Print("still draws");
    canvas.Cls();
    slot_->SetWidth(1500);
    ASSERT_TRUE(Pump([&] { return canvas.get_allocated_width() == 100; }, 2000)) << canvas.get_allocated_width();
}

TEST_F(FormTest, TheWindowGetsTheFormSizeInPixels) {
    slot_->SetWidth(3000);
    slot_->SetHeight(1500);
    slot_->Show();
    auto& canvas = slot_->Surface();
    ASSERT_TRUE(Pump([&] { return canvas.get_allocated_width() == 200 && canvas.get_allocated_height() == 100; }, 2000))
        << canvas.get_allocated_width() << "x" << canvas.get_allocated_height();
    EXPECT_EQ(canvas.PixelWidth(), 200);
    EXPECT_EQ(canvas.PixelHeight(), 100);
}

// Showing

TEST_F(FormTest, AModelessShowReturnsAtOnce) {
    // Returning at once means the loop did not run: an idle queued before is still waiting.
    bool idleRan = false;
    g_idle_add(
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &idleRan);
    slot_->Show();
    EXPECT_FALSE(idleRan);
    EXPECT_TRUE(slot_->Visible());
    EXPECT_TRUE(slot_->Window().get_visible());
    EXPECT_FALSE(slot_->ShownModal());
    slot_->Hide();
    EXPECT_FALSE(slot_->Visible());
    EXPECT_FALSE(slot_->Window().get_visible());
    EXPECT_TRUE(Pump([&] { return idleRan; }, 1000));
}

TEST_F(FormTest, AModalShowRunsUntilTheFormIsHiddenWhileTimersGoOn) {
    platform::Timer timer;
    int ticks = 0;
    bool modalWhileTicking = false;
    timer.Tick = [&] {
        ++ticks;
        modalWhileTicking = slot_->ShownModal();
        if (ticks == 3) slot_->Hide();
    };
    timer.SetInterval(10);
    slot_->Show(platform::vbModal);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(modalWhileTicking);
    EXPECT_FALSE(slot_->Visible());
    EXPECT_FALSE(slot_->ShownModal());
    EXPECT_FALSE(slot_->Window().get_modal());
    EXPECT_TRUE(slot_.Loaded());
}

TEST_F(FormTest, AModalShowReturnsWhenTheFormIsUnloaded) {
    g_timeout_add(
        20,
        [](gpointer data) -> gboolean {
            static_cast<FormSlot<ProbeForm>*>(data)->Unload();
            return G_SOURCE_REMOVE;
        },
        &slot_);
    slot_->Show(platform::vbModal);
    EXPECT_FALSE(slot_.Loaded());
    EXPECT_EQ(ProbeForm::log.back(), "Unload");
    ASSERT_TRUE(Pump([] { return ProbeForm::destroyed == 1; }, 1000));
}

TEST_F(FormTest, EndEndsAModalLoop) {
    int endActions = 0;
    platform::SetEndAction([&] { ++endActions; });
    g_timeout_add(
        20,
        [](gpointer) -> gboolean {
            platform::End();
            return G_SOURCE_REMOVE;
        },
        nullptr);
    slot_->Show(platform::vbModal);
    EXPECT_EQ(endActions, 1);
    platform::SetEndAction([] {});
}

// Activation and focus. Xvfb has no window manager; presenting a window gives it
// the input focus directly, which is what GTK reports as activation.

TEST_F(FormTest, PresentingAShownFormActivatesItAndGivesItTheFocus) {
    slot_->SetWidth(1500);
    slot_->SetHeight(1500);
    slot_->Show();
    slot_->Window().present();
    ASSERT_TRUE(Pump([] { return Count(ProbeForm::log, "Activate") == 1 && Count(ProbeForm::log, "GotFocus") == 1; },
                     3000))
        << "no activation reported";

    FormSlot<ProbeForm> other;
    other->SetWidth(1500);
    other->SetHeight(1500);
    other->Show();
    other->SetFocus();
    ASSERT_TRUE(Pump([] { return Count(ProbeForm::log, "Deactivate") == 1 && Count(ProbeForm::log, "Activate") == 2; },
                     3000));
    other.Unload();
}

// A window that takes the focus back from the program's other windows whenever it loses it.
class KeeperForm : public Form {
public:
    int activations = 0;

protected:
    void Form_Activate() override { ++activations; }
    void Form_Deactivate() override { platform::TakeFocusBackFromProgramWindows(Window()); }
};

TEST_F(FormTest, OfTwoWindowsThatTakeTheFocusBackTheNewerKeepsItAndBothKeepItFromOlderOnes) {
    slot_->SetWidth(1500);
    slot_->SetHeight(1500);
    slot_->Show();
    FormSlot<KeeperForm> older, newer;
    for (auto* keeper : {&older, &newer}) {
        (*keeper)->SetWidth(1500);
        (*keeper)->SetHeight(1500);
    }
    older->Show();
    older->SetFocus();
    ASSERT_TRUE(Pump([&] { return older->Window().is_active(); }, 3000));
    slot_->SetFocus();
    EXPECT_TRUE(Pump([&] { return older->Window().is_active(); }, 3000)) << "it gave the focus to an older window";

    newer->Show();
    newer->SetFocus();
    PumpFor(500);
    const int olderActivations = older->activations, newerActivations = newer->activations;
    PumpFor(500);
    EXPECT_TRUE(newer->Window().is_active());
    EXPECT_EQ(older->activations, olderActivations) << "the two windows take the focus from each other";
    EXPECT_EQ(newer->activations, newerActivations);

    slot_->SetFocus();
    EXPECT_TRUE(Pump([&] { return newer->Window().is_active(); }, 3000)) << "it gave the focus to an older window";
    newer.Unload();
    older.Unload();
}

TEST_F(FormTest, SetFocusOnAHiddenOrMinimisedFormRaisesError5) {
    try {
        slot_->SetFocus();
        FAIL() << "no error";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::errors::InvalidProcedureCall);
    }
    slot_->Show();
    slot_->SetWindowState(platform::vbMinimized);
    EXPECT_THROW(slot_->SetFocus(), platform::ToolkitError);
    slot_->SetWindowState(platform::vbNormal);
    EXPECT_NO_THROW(slot_->SetFocus());
}

// The test below starts this program again; the child writes here which forms it saw end.
constexpr const char* EndReportVariable = "QUELLIN_TEST_FORM_END_REPORT";

class EndReportingForm : public Form {
public:
    ~EndReportingForm() override { std::ofstream(std::getenv(EndReportVariable), std::ios::app) << name << "\n"; }
    std::string name;
};

TEST(RetiredFormTest, FormsUnloadedJustBeforeTheProgramEndsAreStillDestroyed) {
    const auto folder = testing_support::TempRoot() / "retired-forms";
    std::filesystem::create_directories(folder);
    const auto report = folder / "ended.txt";
    ASSERT_TRUE(testing_support::RunThisProgram(
        "RetiredFormChild.*", {{EndReportVariable, report.string()}, {testing_support::TestRootVariable, folder.string()}}));
    std::ifstream lines(report);
    std::vector<std::string> ended;
    for (std::string line; std::getline(lines, line);) ended.push_back(line);
    std::sort(ended.begin(), ended.end());
    EXPECT_EQ(ended, (std::vector<std::string>{"default instance", "extra instance"}));
    std::filesystem::remove_all(folder);
}

TEST(RetiredFormChild, EndsTheProgramInTheHandlerThatUnloadedTheForms) {
    if (!std::getenv(EndReportVariable)) GTEST_SKIP() << "runs only when started by the test of retired forms";
    FormSlot<EndReportingForm> slot;
    slot->name = "default instance";
    auto& extra = platform::NewInstance<EndReportingForm>();
    extra.name = "extra instance";
    platform::Dispatch([&] {
        slot.Unload();
        extra.Unload();
        std::exit(0);
    });
}

}  // namespace
