#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser_double.h"
#include "platform/app.h"

namespace {

using platform::BrowserDouble;
using platform::BrowserView;

class BrowserDoubleTest : public ::testing::Test {
protected:
    void SetUp() override {
        view_.events.DownloadBegin = [this] { log_.push_back("DownloadBegin"); };
        view_.events.ProgressChange = [this](long p, long max) {
            log_.push_back("Progress " + std::to_string(p) + "/" + std::to_string(max));
        };
        view_.events.StatusTextChange = [this](const std::string& text) { log_.push_back("Status " + text); };
        view_.events.TitleChange = [this](const std::string& title) { log_.push_back("Title " + title); };
        view_.events.DocumentComplete = [this](const std::string& url) { log_.push_back("Complete " + url); };
        view_.events.OnQuit = [this] { log_.push_back("Quit"); };
    }

    BrowserDouble view_;
    std::vector<std::string> log_;
};

TEST_F(BrowserDoubleTest, AScriptedLoadRaisesTheEngineEventsAndSetsTheState) {
    view_.StartLoad("http://a/");
    EXPECT_TRUE(view_.Busy());
    EXPECT_EQ(view_.LocationURL(), "http://a/");
    view_.Progress(5000, 10000);
    view_.Status("http://a/link");
    view_.SetTitle("A");
    view_.Finish();
    EXPECT_FALSE(view_.Busy());
    EXPECT_EQ(view_.LocationName(), "A");
    EXPECT_EQ(log_, (std::vector<std::string>{"DownloadBegin", "Progress 5000/10000", "Status http://a/link", "Title A",
                                              "Complete http://a/", "Progress 0/10000"}));
}

TEST_F(BrowserDoubleTest, RecordsWhatTheProgramAsks) {
    view_.Navigate("http://b/");
    view_.GoHome();
    view_.Stop();
    view_.Refresh();
    view_.ExecWB(BrowserView::Copy, 2);
    view_.SendKeys("^f");
    view_.SetOffline(true);
    const auto& calls = view_.Recorded();
    EXPECT_EQ(calls.navigations, std::vector<std::string>{"http://b/"});
    EXPECT_EQ(calls.goHome, 1);
    EXPECT_EQ(calls.stop, 1);
    EXPECT_EQ(calls.refresh, 1);
    EXPECT_EQ(calls.execWB, (std::vector<std::pair<int, int>>{{12, 2}}));
    EXPECT_EQ(calls.keys, std::vector<std::string>{"^f"});
    EXPECT_TRUE(view_.Offline());
    EXPECT_TRUE(log_.empty()) << "navigating alone loads nothing: the test scripts the page";
    EXPECT_THROW(view_.ExecWB(3, 0), platform::ToolkitError);
}

TEST_F(BrowserDoubleTest, MovesThroughItsHistoryAndRaisesAtEitherEnd) {
    EXPECT_THROW(view_.GoBack(), platform::ToolkitError);
    view_.Load("http://one/", "One");
    view_.Load("http://two/", "Two");
    view_.Load("http://three/", "Three");
    EXPECT_THROW(view_.GoForward(), platform::ToolkitError);
    view_.GoBack();
    view_.GoBack();
    EXPECT_EQ(view_.LocationURL(), "http://one/");
    EXPECT_THROW(view_.GoBack(), platform::ToolkitError);
    view_.GoForward();
    EXPECT_EQ(view_.LocationURL(), "http://two/");
    // Loading a page from the middle of the history drops the pages after it.
    view_.Load("http://four/", "Four");
    EXPECT_THROW(view_.GoForward(), platform::ToolkitError);
    view_.GoBack();
    EXPECT_EQ(view_.LocationURL(), "http://two/");
    EXPECT_EQ(view_.Recorded().goBack, 5);
    EXPECT_EQ(view_.Recorded().goForward, 3);
}

TEST_F(BrowserDoubleTest, NewWindowOutcomeAndQuit) {
    BrowserDouble other;
    view_.events.NewWindow2 = [&](BrowserView*& ppDisp, bool&) { ppDisp = &other; };
    auto handedBack = view_.AskNewWindow();
    EXPECT_TRUE(handedBack.asked);
    EXPECT_EQ(handedBack.ppDisp, &other);
    EXPECT_FALSE(handedBack.cancel);

    view_.events.NewWindow2 = [](BrowserView*&, bool& cancel) { cancel = true; };
    EXPECT_TRUE(view_.AskNewWindow().cancel);

    platform::HandlerBlock block;
    EXPECT_FALSE(view_.AskNewWindow().asked);
    view_.Quit();
    EXPECT_TRUE(log_.empty());
}

TEST_F(BrowserDoubleTest, AViewThatStopsAnsweringRaisesOnBusy) {
    view_.StopAnswering();
    try {
        view_.Busy();
        FAIL() << "Busy must raise";
    } catch (const platform::ToolkitError& error) {
        EXPECT_EQ(error.Number(), platform::errors::ObjectNotResponding);
        EXPECT_EQ(error.Description(), "Automation error");
    }
}

TEST_F(BrowserDoubleTest, HeldEventsOfADestroyedViewAreDropped) {
    auto view = std::make_unique<BrowserDouble>();
    int begun = 0;
    view->events.DownloadBegin = [&] { ++begun; };
    {
        platform::HandlerBlock block;
        view->StartLoad("http://a/");
        view.reset();
    }
    platform::DoEvents();
    EXPECT_EQ(begun, 0);
}

TEST(BrowserViewFactory, GivesTheViewOfTheFactorySet) {
    platform::SetBrowserViewFactory([] { return std::make_unique<BrowserDouble>(); });
    EXPECT_NE(dynamic_cast<BrowserDouble*>(platform::NewBrowserView().get()), nullptr);
    platform::SetBrowserViewFactory(nullptr);
}

TEST(BrowserViewFactory, HomePageIsBlankUntilSet) {
    EXPECT_EQ(platform::HomePage(), "about:blank");
    platform::SetHomePage("http://home/");
    EXPECT_EQ(platform::HomePage(), "http://home/");
    platform::SetHomePage("about:blank");
}

}  // namespace
