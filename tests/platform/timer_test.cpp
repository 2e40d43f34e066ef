#include <gtest/gtest.h>
#include <glib.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/timer.h"
#include "test_support.h"

namespace {

using platform::Timer;
using testing_support::Pump;
using testing_support::PumpFor;

// Timers

TEST(TimerTest, TicksEveryIntervalOnlyWhileEnabledWithANonZeroInterval) {
    Timer timer;
    int ticks = 0;
    timer.Tick = [&] { ++ticks; };
    EXPECT_EQ(timer.Interval(), 0);
    EXPECT_TRUE(timer.Enabled());
    PumpFor(40);
    EXPECT_EQ(ticks, 0) << "interval 0 never ticks";

    timer.SetInterval(10);
    EXPECT_EQ(timer.Interval(), 10);
    ASSERT_TRUE(Pump([&] { return ticks >= 3; }, 1000));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    const int whenDisabled = ticks;
    PumpFor(50);
    EXPECT_EQ(ticks, whenDisabled);

    timer.SetEnabled(true);
    ASSERT_TRUE(Pump([&] { return ticks > whenDisabled; }, 1000));
    timer.SetInterval(0);
    const int whenStopped = ticks;
    PumpFor(50);
    EXPECT_EQ(ticks, whenStopped) << "interval 0 stops a running timer";
}

TEST(TimerTest, ANegativeIntervalRaisesError380AndKeepsTheOldOne) {
    Timer timer;
    timer.SetInterval(250);
    try {
        timer.SetInterval(-1);
        FAIL() << "no error";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::errors::InvalidPropertyValue);
    }
    EXPECT_EQ(timer.Interval(), 250);
}

TEST(TimerTest, EnablingATimerThatAlreadyRunsDoesNotRestartItsCount) {
    // Halfway through the running timer's count a second one starts that ends a
    // quarter of the interval after it would, a quarter before a restarted count.
    Timer running, halfway, startedLater;
    std::vector<std::string> ticks;
    running.Tick = [&] { ticks.push_back("running"); };
    startedLater.Tick = [&] { ticks.push_back("started later"); };
    halfway.Tick = [&] {
        halfway.SetEnabled(false);
        startedLater.SetInterval(300);
        running.SetEnabled(true);
        running.SetInterval(400);
    };
    running.SetInterval(400);
    halfway.SetInterval(200);
    ASSERT_TRUE(Pump([&] { return ticks.size() >= 2; }, 4000));
    EXPECT_EQ(ticks[0], "running") << "the count started again";
}

TEST(TimerTest, TicksRunOnTheUiThreadAndNeverInsideARunningHandler) {
    Timer timer;
    const auto uiThread = std::this_thread::get_id();
    int ticks = 0;
    bool offThread = false;
    timer.Tick = [&] {
        ++ticks;
        offThread = offThread || std::this_thread::get_id() != uiThread;
    };
    timer.SetInterval(5);
    int ticksInsideHandler = -1;
    platform::Dispatch([&] {
        const int before = ticks;
        g_usleep(60000);  // busy, without running the loop
        ticksInsideHandler = ticks - before;
    });
    EXPECT_EQ(ticksInsideHandler, 0);
    ASSERT_TRUE(Pump([&] { return ticks >= 2; }, 1000));
    EXPECT_FALSE(offThread);
}

TEST(TimerTest, ATimerSwitchedOffOrDestroyedByItsOwnTickStopsCleanly) {
    auto timer = std::make_unique<Timer>();
    int ticks = 0;
    timer->Tick = [&] {
        ++ticks;
        timer.reset();
    };
    timer->SetInterval(5);
    ASSERT_TRUE(Pump([&] { return !timer; }, 1000));
    PumpFor(30);
    EXPECT_EQ(ticks, 1);
}

TEST(TimerTest, CopiedSettingsStartAnEnabledTimerOfItsOwn) {
    Timer original, copy;
    original.SetInterval(10);
    int copyTicks = 0;
    copy.Tick = [&] { ++copyTicks; };
    copy.CopySettingsFrom(original);
    EXPECT_EQ(copy.Interval(), 10);
    EXPECT_TRUE(copy.Enabled());
    ASSERT_TRUE(Pump([&] { return copyTicks >= 1; }, 1000));
}

// Held-back handlers

TEST(HandlerBlockTest, HandlersDispatchedWhileBlockedRunInOrderAfterTheBlockEnds) {
    std::vector<int> ran;
    {
        platform::HandlerBlock block;
        EXPECT_TRUE(platform::HandlersBlocked());
        platform::Dispatch([&] { ran.push_back(1); });
        {
            platform::HandlerBlock inner;
            platform::Dispatch([&] { ran.push_back(2); });
        }
        PumpFor(20);
        EXPECT_TRUE(ran.empty()) << "an inner block's end must not release them";
    }
    EXPECT_FALSE(platform::HandlersBlocked());
    ASSERT_TRUE(Pump([&] { return ran.size() == 2; }, 1000));
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(HandlerBlockTest, ATickDueWhileBlockedArrivesOnceWhenTheBlockEnds) {
    Timer timer;
    int ticks = 0;
    timer.Tick = [&] { ++ticks; };
    timer.SetInterval(300);
    {
        platform::HandlerBlock block;
        PumpFor(350);
        EXPECT_EQ(ticks, 0);
    }
    // The held tick comes with the events pending now, not at the next interval.
    platform::DoEvents();
    EXPECT_EQ(ticks, 1);

    timer.SetInterval(5);
    {
        platform::HandlerBlock block;
        PumpFor(100);
    }
    const int before = ticks;
    platform::DoEvents();
    EXPECT_GE(ticks - before, 1);
    EXPECT_LE(ticks - before, 2) << "ticks held back must not pile up";
}

TEST(HandlerBlockTest, AHeldTickOfATimerSwitchedOffMeanwhileDoesNotRun) {
    Timer timer;
    int ticks = 0;
    timer.Tick = [&] { ++ticks; };
    timer.SetInterval(5);
    {
        platform::HandlerBlock block;
        PumpFor(30);
        timer.SetEnabled(false);
    }
    PumpFor(30);
    EXPECT_EQ(ticks, 0);
}

TEST(HandlerBlockTest, WaitWithoutHandlersRunsTheLoopButNoHandler) {
    bool handlerRan = false, done = false;
    g_timeout_add(
        20,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &done);
    g_idle_add(
        [](gpointer flag) -> gboolean {
            platform::Dispatch([flag] { *static_cast<bool*>(flag) = true; });
            return G_SOURCE_REMOVE;
        },
        &handlerRan);
    EXPECT_TRUE(platform::WaitWithoutHandlers([&] { return done; }, 2000));
    EXPECT_FALSE(handlerRan);
    ASSERT_TRUE(Pump([&] { return handlerRan; }, 1000));

    // Given up, it has run the loop meanwhile.
    bool sourceRan = false;
    g_timeout_add(
        1,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &sourceRan);
    EXPECT_FALSE(platform::WaitWithoutHandlers([] { return false; }, 50));
    EXPECT_TRUE(sourceRan);
}

// DoEvents

TEST(DoEventsTest, RunsWhatIsPendingAndReturnsWithoutWaitingForMore) {
    bool idleRan = false;
    g_idle_add(
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &idleRan);
    bool timeoutRan = false;
    const guint later = g_timeout_add(
        400,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timeoutRan);
    platform::DoEvents();
    EXPECT_TRUE(idleRan);
    EXPECT_FALSE(timeoutRan);
    g_source_remove(later);
}

TEST(DoEventsTest, ReturnsPromptlyWhileOneMillisecondTimersAreAlwaysDue) {
    // Each tick outlasts the interval, so one timer is due again while the other runs.
    Timer first, second;
    int ticks = 0;
    for (Timer* timer : {&first, &second}) {
        timer->Tick = [&] {
            ++ticks;
            g_usleep(2000);
        };
        timer->SetInterval(1);
    }
    PumpFor(5);
    const int before = ticks;
    platform::DoEvents();
    EXPECT_GE(ticks - before, 1) << "what was due ran";
}

// End

TEST(EndTest, EndCallsTheEndActionAndNoHandlerRunsAfterwards) {
    int endActions = 0;
    platform::SetEndAction([&] { ++endActions; });
    Timer timer;
    int ticks = 0;
    timer.Tick = [&] { ++ticks; };
    timer.SetInterval(5);
    bool heldRan = false;
    {
        platform::HandlerBlock block;
        platform::Dispatch([&] { heldRan = true; });
        PumpFor(20);
    }
    platform::End();
    EXPECT_EQ(endActions, 1);
    EXPECT_TRUE(platform::Ended());

    bool ran = false;
    platform::Dispatch([&] { ran = true; });
    PumpFor(40);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(heldRan) << "a handler held back before End ran after it";
    EXPECT_EQ(ticks, 0);
    platform::SetEndAction([] {});
}

// Errors

TEST(ToolkitErrorTest, CarriesNumberDescriptionAndSourceAndTakesAProcedurePrefix) {
    const platform::ToolkitError error(53, "File not found", "Quellin");
    EXPECT_EQ(error.Number(), 53);
    EXPECT_EQ(error.Description(), "File not found");
    EXPECT_STREQ(error.what(), "File not found");
    const auto raised = error.WithSourcePrefix("LoadIni").WithSourcePrefix("Form_Load");
    EXPECT_EQ(raised.Source(), "Form_Load::LoadIni::Quellin");
    EXPECT_EQ(raised.Number(), 53);
    EXPECT_EQ(raised.Description(), "File not found");
}

TEST(ToolkitErrorTest, SkipFailuresSkipsFailingStatementsAndRunsTheRest) {
    std::vector<int> ran;
    platform::SkipFailures([&] { ran.push_back(1); },
                           [&] { throw platform::ToolkitError(5, "Invalid procedure call or argument"); },
                           [&] {
                               ran.push_back(3);
                               throw platform::ToolkitError(9, "Subscript out of range");
                           },
                           [&] { ran.push_back(4); });
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(platform::Try([] {}));
    EXPECT_FALSE(platform::Try([] { throw platform::ToolkitError(5, "x"); }));
}

TEST(ToolkitErrorTest, AFaultOfTheProgramIsNeverSwallowed) {
    int after = 0;
    EXPECT_THROW(platform::SkipFailures([] { throw std::logic_error("bug"); }, [&] { ++after; }), std::logic_error);
    EXPECT_EQ(after, 0);
    EXPECT_THROW(platform::Try([] { throw std::out_of_range("bug"); }), std::out_of_range);
}

TEST(ToolkitErrorTest, AToolkitErrorNoHandlerCaughtIsReportedAndTheProgramGoesOn) {
    bool next = false;
    platform::Dispatch([] { throw platform::ToolkitError(340, "Control array element '3' doesn't exist"); });
    platform::Dispatch([&] { next = true; });
    EXPECT_TRUE(next);
}

}  // namespace
