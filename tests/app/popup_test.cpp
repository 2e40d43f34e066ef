#include <gdk/gdkkeysyms.h>
#include <gdkmm/window.h>
#include <glibmm/main.h>
#include <gtk/gtk.h>
#include <gtkmm/button.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FrmPopup.h"
#include "app/State.h"
#include "program_fixture.h"

namespace {

using Outcome = platform::BrowserDouble::NewWindowOutcome;

class PopupTest : public ProgramTest {
protected:
    void StartInMode(int mode) {
        WriteFile("browser.ini", "[Popups]\r\n" + std::to_string(mode) + "\r\n");
        Start("about:blank");
        ASSERT_EQ(Settings.PopupMode, mode);
    }

    // Runs the action once the condition holds, from the main loop: also while a
    // modal question runs its own loop. The action may itself wait in one.
    static void When(std::function<bool()> condition, std::function<void()> action) {
        Glib::signal_timeout().connect(
            [condition, action] {
                if (!condition()) return true;
                action();
                return false;
            },
            5);
    }

    // Runs the action at the next turn of the main loop, as an event of the engine would.
    static void Soon(std::function<void()> action) { Glib::signal_timeout().connect_once(action, 0); }

    static bool QuestionOpen() {
        FrmPopup* question = frmPopup.IfLoaded();
        return question && question->Visible() && question->ShownModal();
    }

    static void Press(platform::CommandButton& button) { static_cast<Gtk::Button&>(button.Widget()).clicked(); }

    // Asks for a new window from tab 0 and answers the question with the action.
    Outcome AskAndAnswer(const std::function<void()>& answer) {
        When(QuestionOpen, answer);
        return Browser(0).AskNewWindow();
    }

    platform::BrowserView* TabObject(int index) { return frmMain->WebBrowser1(index).Object(); }
};

TEST_F(PopupTest, ModeZeroRefusesThePopupAndOpensNothing) {
    StartInMode(0);
    const Outcome outcome = Browser(0).AskNewWindow();
    EXPECT_TRUE(outcome.asked);
    EXPECT_TRUE(outcome.cancel);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);
    EXPECT_FALSE(frmPopup.Loaded());
}

TEST_F(PopupTest, ModeOneAndModesOutOfRangeLeaveThePopupToThePlatform) {
    StartInMode(1);
    for (int mode : {1, 7, 4, -1, 32767}) {
        Settings.PopupMode = static_cast<std::int16_t>(mode);
        const Outcome outcome = Browser(0).AskNewWindow();
        EXPECT_TRUE(outcome.asked);
        EXPECT_FALSE(outcome.cancel) << "mode " << mode;
        EXPECT_EQ(outcome.ppDisp, nullptr) << "mode " << mode;
    }
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);
    EXPECT_FALSE(frmPopup.Loaded());
}

TEST_F(PopupTest, ModeTwoOpensThePopupInANewTabThatBecomesCurrent) {
    StartInMode(2);
    const Outcome outcome = Browser(0).AskNewWindow();
    ASSERT_EQ(frmMain->WebBrowser1.UBound(), 1);
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(outcome.ppDisp, TabObject(1));
    EXPECT_FALSE(outcome.cancel);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"about:blank"});
    EXPECT_FALSE(frmPopup.Loaded());
}

TEST_F(PopupTest, AnotherTabOpenedWhileThePopupsTabOpensDoesNotTakeThePopup) {
    StartInMode(2);
    // The tab's opening lets pending events run: a second pop-up asks then.
    Outcome second;
    Soon([&] { second = Browser(0).AskNewWindow(); });
    const Outcome first = Browser(0).AskNewWindow();
    ASSERT_TRUE(second.asked);
    ASSERT_EQ(frmMain->WebBrowser1.UBound(), 2);
    EXPECT_EQ(first.ppDisp, TabObject(1));
    EXPECT_EQ(second.ppDisp, TabObject(2));
    EXPECT_EQ(CurrentTab, 2);
}

TEST_F(PopupTest, AFailureWhileOpeningTheTabLeavesThePopupToThePlatform) {
    StartInMode(2);
    // The new tab's browser is gone before it can be handed back.
    Soon([] { frmMain->WebBrowser1.Unload(1); });
    const Outcome outcome = Browser(0).AskNewWindow();
    EXPECT_TRUE(outcome.asked);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_FALSE(outcome.cancel);
    EXPECT_EQ(endCalls, 0);
}

TEST_F(PopupTest, TheQuestionIsAModalWindowOfItsOwnWithItsTextsAndLayout) {
    StartInMode(3);
    PopupChoice = 2;
    bool checked = false;
    const Outcome outcome = AskAndAnswer([&] {
        FrmPopup& question = frmPopup.Get();
        EXPECT_EQ(PopupChoice, 0);
        EXPECT_EQ(question.Caption(), "Open Popup?");
        EXPECT_EQ(question.Width(), 4815);
        EXPECT_EQ(question.Height(), 1335);
        EXPECT_FALSE(question.Window().get_resizable());
        EXPECT_EQ(question.Window().get_transient_for(), &frmMain->Window());
        EXPECT_DOUBLE_EQ(question.Left(), frmMain->Left() + (frmMain->Width() - 4815) / 2);

        struct Expected {
            const platform::Control& control;
            std::string text;
            double left, top, width, height;
        };
        const std::vector<Expected> layout{
            {question.Picture1, "", 240, 200, 480, 480},
            {question.Label1, "This website is attempting to open a pop-up window.", 960, 120, 3735, 255},
            {question.Label2, "How do you wish to open it?", 960, 480, 3735, 255},
            {question.OKButton, "In new tab", 120, 840, 1455, 375},
            {question.CancelButton, "In new browser", 1680, 840, 1455, 375},
            {question.Command1, "Do not open", 3240, 840, 1455, 375},
        };
        for (const auto& item : layout) {
            EXPECT_EQ(item.control.Left(), item.left) << item.text;
            EXPECT_EQ(item.control.Top(), item.top) << item.text;
            EXPECT_EQ(item.control.Width(), item.width) << item.text;
            EXPECT_EQ(item.control.Height(), item.height) << item.text;
        }
        EXPECT_EQ(question.Label1.Caption(), layout[1].text);
        EXPECT_EQ(question.Label2.Caption(), layout[2].text);
        EXPECT_EQ(question.OKButton.Caption(), layout[3].text);
        EXPECT_EQ(question.CancelButton.Caption(), layout[4].text);
        EXPECT_EQ(question.Command1.Caption(), layout[5].text);
        EXPECT_EQ(question.Picture1.GetPicture().PixelWidth(), 32);
        EXPECT_EQ(question.Picture1.GetPicture().PixelHeight(), 32);
        EXPECT_TRUE(question.OKButton.Widget().is_focus()) << "the first button in tab order has the focus";
        checked = true;
        Press(question.Command1);
    });
    ASSERT_TRUE(checked);
    EXPECT_EQ(PopupChoice, 3);
    EXPECT_TRUE(outcome.cancel);
    EXPECT_FALSE(frmPopup.Loaded()) << "the answered question unloads its window";
}

TEST_F(PopupTest, EachAnswerDecidesThePopupAndEveryQuestionStartsAfresh) {
    StartInMode(3);

    Outcome outcome = AskAndAnswer([] { Press(frmPopup->OKButton); });
    EXPECT_EQ(PopupChoice, 1);
    ASSERT_EQ(frmMain->WebBrowser1.UBound(), 1) << "In new tab does what mode 2 does";
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(outcome.ppDisp, TabObject(1));
    EXPECT_FALSE(outcome.cancel);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"about:blank"});

    outcome = AskAndAnswer([] { Press(frmPopup->CancelButton); });
    EXPECT_EQ(PopupChoice, 2);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_FALSE(outcome.cancel);

    outcome = AskAndAnswer([] { Press(frmPopup->Command1); });
    EXPECT_EQ(PopupChoice, 3);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_TRUE(outcome.cancel);

    // Closed without an answer: the platform opens the pop-up.
    outcome = AskAndAnswer([] { frmPopup->Window().close(); });
    EXPECT_EQ(PopupChoice, 0);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_FALSE(outcome.cancel);

    // Esc answers as "In new browser".
    outcome = AskAndAnswer([] {
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = static_cast<GdkWindow*>(g_object_ref(frmPopup->Window().get_window()->gobj()));
        event->key.keyval = GDK_KEY_Escape;
        gtk_widget_event(GTK_WIDGET(frmPopup->Window().gobj()), event);
        gdk_event_free(event);
    });
    EXPECT_EQ(PopupChoice, 2);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_FALSE(outcome.cancel);

    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 1);
    EXPECT_FALSE(frmPopup.Loaded());
}

TEST_F(PopupTest, ASecondPopupWhileTheQuestionIsOpenWaitsForTheSameAnswer) {
    StartInMode(3);
    bool secondAsking = false;
    Outcome second;
    When(QuestionOpen, [&] {
        secondAsking = true;
        second = Browser(0).AskNewWindow();
    });
    When([&] { return secondAsking && QuestionOpen(); }, [] { Press(frmPopup->OKButton); });
    const Outcome first = Browser(0).AskNewWindow();

    EXPECT_EQ(endCalls, 0);
    EXPECT_TRUE(frmMain->Visible());
    ASSERT_TRUE(second.asked);
    ASSERT_EQ(frmMain->WebBrowser1.UBound(), 2) << "both pop-ups open in tabs of their own";
    EXPECT_EQ(second.ppDisp, TabObject(1));
    EXPECT_EQ(first.ppDisp, TabObject(2));
    EXPECT_FALSE(first.cancel);
    EXPECT_FALSE(second.cancel);
    EXPECT_FALSE(frmPopup.Loaded());
}

TEST_F(PopupTest, EachPopupKeepsTheAnswerToItsOwnQuestion) {
    StartInMode(3);
    bool secondAsking = false, thirdAsking = false;
    Outcome second, third;
    When(QuestionOpen, [&] {
        secondAsking = true;
        second = Browser(0).AskNewWindow();
    });
    When([&] { return secondAsking && QuestionOpen(); }, [&] {
        // While the answered pop-ups get their tabs, a third one asks anew.
        Soon([&] {
            thirdAsking = true;
            third = Browser(0).AskNewWindow();
        });
        Press(frmPopup->OKButton);
    });
    When([&] { return thirdAsking && QuestionOpen(); }, [] { Press(frmPopup->Command1); });
    const Outcome first = Browser(0).AskNewWindow();

    ASSERT_TRUE(third.asked);
    EXPECT_TRUE(third.cancel);
    EXPECT_EQ(third.ppDisp, nullptr);
    EXPECT_EQ(PopupChoice, 3) << "the shared answer is the last one given";
    ASSERT_EQ(frmMain->WebBrowser1.UBound(), 2);
    EXPECT_EQ(second.ppDisp, TabObject(1));
    EXPECT_EQ(first.ppDisp, TabObject(2)) << "the first pop-up lost its answer";
    EXPECT_FALSE(first.cancel);
    EXPECT_EQ(endCalls, 0);
}

TEST_F(PopupTest, ClosingTheMainWindowDuringTheQuestionOpensNothing) {
    StartInMode(3);
    const Outcome outcome = AskAndAnswer([] { frmMain.Unload(); });
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(outcome.asked);
    EXPECT_EQ(outcome.ppDisp, nullptr);
    EXPECT_FALSE(outcome.cancel);
}

}  // namespace
