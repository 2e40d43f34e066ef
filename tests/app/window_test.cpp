#include <gdk/gdk.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "program_fixture.h"
#include "app/FrmDummy.h"
#include "app/State.h"
#include "common/CenterPart2.h"
#include "common/ScreenSize.h"
#include "platform/screen.h"

using namespace platform;

namespace {

constexpr int Held = vbLeftButton;
constexpr int NoButton = 0;

// True when the box's image is one plain colour: cleared, not tiled.
bool IsCleared(const PictureBox& box) {
    const auto& image = box.Surface().ImageSurface();
    image->flush();
    const auto pixel = [&](int x, int y) {
        return reinterpret_cast<const std::uint32_t*>(image->get_data() + y * image->get_stride())[x] & 0xFFFFFF;
    };
    for (int y = 0; y < image->get_height(); ++y)
        for (int x = 0; x < image->get_width(); ++x)
            if (pixel(x, y) != pixel(0, 0)) return false;
    return true;
}

class WindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        SetWorkAreaForTesting({100, 40, 1100, 740});
    }

    void StartWithFastPaint(bool on) {
        WriteFile("browser.ini", std::string("[Paint]\r\n") + (on ? "1" : "0") + "\r\n");
        Start("about:blank");
        ASSERT_EQ(Settings.FastPaint, on ? 1 : 0);
    }

    // The face is laid out for the window's present size.
    void ExpectLaidOut() {
        const double W = frmMain->Width(), H = frmMain->Height();
        EXPECT_EQ(frmMain->Picture4.Width(), W);
        EXPECT_EQ(frmMain->Picture1.Height(), H - 1850);
        EXPECT_EQ(frmMain->picClose.Left(), W - 295);
        EXPECT_EQ(frmMain->Picture5.Left(), W - 285);
        EXPECT_FALSE(IsCleared(frmMain->Picture6));
        EXPECT_FALSE(IsCleared(frmMain->Picture4));
    }

    void Place(double left, double top, double width, double height) {
        frmMain->Move(left, top);
        frmMain->SetWidth(width);
        frmMain->SetHeight(height);
    }
};

TEST_F(WindowTest, WithFastPaintAGripDragMovesOnlyTheEdgesUntilItIsLetGo) {
    StartWithFastPaint(true);
    FrmMain& f = frmMain.Get();
    const double W = f.Width(), H = f.Height();

    f.Picture6.MouseDown(Held, 0, 35, 600);
    f.Picture6.MouseMove(Held, 0, 35 + 900, 640);
    EXPECT_EQ(Resizing, 1);
    EXPECT_EQ(f.Width(), W + 900);
    EXPECT_EQ(f.Height(), H);  // the right edge changes the width only
    EXPECT_EQ(f.Picture6.Left(), W + 900 - 70);
    EXPECT_EQ(f.Picture7.Width(), W + 900 - 285);
    EXPECT_EQ(f.Picture5.Left(), W + 900 - 285);
    EXPECT_EQ(f.Picture4.Width(), W);
    EXPECT_EQ(f.picClose.Left(), W - 295);
    for (PictureBox* edge : {&f.Picture5, &f.Picture6, &f.Picture7, &f.Picture8}) EXPECT_TRUE(IsCleared(*edge));

    // The anchor stays where the grip was pressed.
    f.Picture6.MouseMove(Held, 0, 35 + 300, 600);
    EXPECT_EQ(f.Width(), W + 1200);
    EXPECT_EQ(f.Picture4.Width(), W);

    f.Picture6.MouseUp(Held, 0, 335, 600);
    EXPECT_EQ(Resizing, 0);
    ExpectLaidOut();
    EXPECT_EQ(f.Width(), W + 1200);
}

TEST_F(WindowTest, TheBottomGripChangesTheHeightAndTheCornerGripBoth) {
    StartWithFastPaint(true);
    FrmMain& f = frmMain.Get();
    const double W = f.Width(), H = f.Height();

    f.Picture7.MouseDown(Held, 0, 4000, 30);
    f.Picture7.MouseMove(Held, 0, 4500, 30 + 450);
    EXPECT_EQ(f.Width(), W);
    EXPECT_EQ(f.Height(), H + 450);
    EXPECT_EQ(f.Picture7.Top(), H + 450 - 70);
    EXPECT_EQ(f.Picture8.Height(), H + 450 - 70);
    EXPECT_EQ(f.Picture1.Height(), H - 1850);
    f.Picture7.MouseUp(Held, 0, 4500, 480);
    ExpectLaidOut();

    f.Picture5.MouseDown(Held, 0, 100, 120);
    f.Picture5.MouseMove(Held, 0, 100 - 600, 120 - 300);
    EXPECT_EQ(f.Width(), W - 600);
    EXPECT_EQ(f.Height(), H + 450 - 300);
    EXPECT_EQ(Resizing, 1);
    f.Picture5.MouseUp(Held, 0, 0, 0);
    EXPECT_EQ(Resizing, 0);
    ExpectLaidOut();
}

TEST_F(WindowTest, WithoutFastPaintEveryMoveOfAGripLaysOutTheWholeFace) {
    StartWithFastPaint(false);
    FrmMain& f = frmMain.Get();
    const double W = f.Width();
    f.Picture5.MouseDown(Held, 0, 100, 100);
    for (int step = 1; step <= 3; ++step) {
        f.Picture5.MouseMove(Held, 0, 100 + 150 * step, 100 + 90 * step);
        EXPECT_EQ(Resizing, 1);
        EXPECT_EQ(f.Width(), W + 150 * (step * (step + 1) / 2));
        ExpectLaidOut();
    }
}

TEST_F(WindowTest, ShrinkingByAGripStopsAtTheWindowsMinimumAndTheGripsOwnFloor) {
    StartWithFastPaint(true);
    FrmMain& f = frmMain.Get();
    Place(1500, 1500, 10605, 6810);

    f.Picture6.MouseDown(Held, 0, 35, 500);
    f.Picture6.MouseMove(Held, 0, 35 - 3000, 500);
    EXPECT_EQ(f.Width(), 7605);
    // 4605 passes the grip's floor of 3400; the layout raises it to 5625.
    f.Picture6.MouseMove(Held, 0, 35 - 3000, 500);
    EXPECT_EQ(f.Width(), 5625);
    // 2625 is below the grip's floor: nothing changes.
    f.Picture6.MouseMove(Held, 0, 35 - 3000, 500);
    EXPECT_EQ(f.Width(), 5625);
    f.Picture6.MouseUp(Held, 0, 0, 0);
    ExpectLaidOut();

    f.Picture7.MouseDown(Held, 0, 500, 35);
    f.Picture7.MouseMove(Held, 0, 500, 35 - 3900);  // 2910 < 3000
    EXPECT_EQ(f.Height(), 6810);
    f.Picture7.MouseMove(Held, 0, 500, 35 - 3800);
    EXPECT_EQ(f.Height(), 3010);
    // The corner grip stops on either floor before it changes anything.
    f.Picture5.MouseDown(Held, 0, 100, 100);
    f.Picture5.MouseMove(Held, 0, 100 + 500, 100 - 100);
    EXPECT_EQ(f.Width(), 5625);
    EXPECT_EQ(f.Height(), 3010);
}

TEST_F(WindowTest, AGripStartsFromItsFloorWhenTheWindowIsSmallerAndReAnchorsThere) {
    Start("about:blank");
    FrmMain& f = frmMain.Get();
    // Only a minimised window is not raised to the layout's minimum.
    f.SetWindowState(vbMinimized);
    f.SetWidth(2000);
    f.SetHeight(2000);
    f.Picture5.MouseDown(Held, 0, 10, 10);

    f.Picture5.MouseMove(Held, 0, 250, 260);
    EXPECT_EQ(f.Width(), 3400);
    EXPECT_EQ(f.Height(), 2000);  // the width's floor stops this move
    EXPECT_EQ(DragAnchorX, 250);
    EXPECT_EQ(DragAnchorY, 260);

    f.Picture5.MouseMove(Held, 0, 300, 320);
    EXPECT_EQ(f.Height(), 3000);
    EXPECT_EQ(f.Width(), 3400);
    EXPECT_EQ(DragAnchorX, 300);
    EXPECT_EQ(DragAnchorY, 320);

    f.Picture5.MouseMove(Held, 0, 400, 370);
    EXPECT_EQ(f.Width(), 3500);
    EXPECT_EQ(f.Height(), 3050);
}

TEST_F(WindowTest, AMoveOverAGripWithoutAButtonEndsResizingSoTheNextLayoutIsWhole) {
    StartWithFastPaint(true);
    FrmMain& f = frmMain.Get();
    const double W = f.Width();
    f.Picture6.MouseDown(Held, 0, 35, 500);
    f.Picture6.MouseMove(Held, 0, 335, 500);
    ASSERT_EQ(Resizing, 1);

    for (PictureBox* grip : {&f.Picture5, &f.Picture6, &f.Picture7}) {
        Resizing = 1;
        grip->MouseMove(NoButton, 0, 2000, 2000);
        EXPECT_EQ(Resizing, 0);
    }
    EXPECT_EQ(f.Width(), W + 300);
    f.ResizeForm();
    ExpectLaidOut();
}

TEST_F(WindowTest, DraggingTheTitleBarMovesTheWindowByTheMouseDelta) {
    Start("about:blank");
    FrmMain& f = frmMain.Get();
    Place(1500, 1200, 9000, 6000);

    f.Picture4.MouseDown(Held, 0, 3000, 150);
    f.Picture4.MouseMove(Held, 0, 3450, 90);
    EXPECT_EQ(f.Left(), 1950);
    EXPECT_EQ(f.Top(), 1140);
    // The pressed control moves with the window: the anchor stays.
    f.Picture4.MouseMove(Held, 0, 3000 - 15, 150 + 30);
    EXPECT_EQ(f.Left(), 1935);
    EXPECT_EQ(f.Top(), 1170);
    // No button held: nothing moves.
    f.Picture4.MouseMove(NoButton, 0, 9000, 9000);
    EXPECT_EQ(f.Left(), 1935);

    // The title text drags the window the same way.
    f.labCaption.MouseDown(Held, 0, 600, 100);
    f.labCaption.MouseMove(Held, 0, 400, 130);
    EXPECT_EQ(f.Left(), 1735);
    EXPECT_EQ(f.Top(), 1200);
    EXPECT_EQ(f.Width(), 9000);
    EXPECT_EQ(f.Height(), 6000);
}

TEST_F(WindowTest, ATitleBarPressFarAlongAWideWindowStillDragsByTheDelta) {
    Start("about:blank");
    FrmMain& f = frmMain.Get();
    Place(0, 0, 45000, 6000);
    f.Picture4.MouseDown(Held, 0, 40000, 150);
    f.Picture4.MouseMove(Held, 0, 40150, 150);
    EXPECT_EQ(f.Left(), 150);
    EXPECT_EQ(f.Top(), 0);
}

TEST_F(WindowTest, MaximiseFillsTheWorkAreaWithTheFrameOffItAndRestoreReturnsTheExactRectangle) {
    Start("about:blank");
    FrmMain& f = frmMain.Get();
    Place(2000.4, 1499.6, 9000, 6000);

    f.picMax.Click();
    EXPECT_EQ(IsMaximised, 1);
    ScreenSize::GetMaxSize();
    EXPECT_EQ(ScreenSize::MaxWidth, 1000 * 15);
    EXPECT_EQ(ScreenSize::MaxHeight, 700 * 15);
    EXPECT_EQ(f.Width(), ScreenSize::MaxWidth + 90);
    EXPECT_EQ(f.Height(), ScreenSize::MaxHeight + 90);
    EXPECT_EQ(f.Left(), 100 * 15 - 60);
    EXPECT_EQ(f.Top(), 40 * 15 - 60);
    EXPECT_EQ(SavedLeft, 2000);
    EXPECT_EQ(SavedTop, 1500);
    ExpectLaidOut();

    // While maximised neither the title bar nor a grip moves anything.
    f.Picture4.MouseDown(Held, 0, 3000, 100);
    f.Picture4.MouseMove(Held, 0, 3600, 400);
    f.Picture5.MouseDown(Held, 0, 50, 50);
    f.Picture5.MouseMove(Held, 0, 900, 900);
    EXPECT_EQ(f.Left(), 1440);
    EXPECT_EQ(f.Top(), 540);
    EXPECT_EQ(f.Width(), 15090);
    EXPECT_EQ(Resizing, 0);

    f.Picture4.DblClick();
    EXPECT_EQ(IsMaximised, 0);
    EXPECT_EQ(f.Width(), 9000);
    EXPECT_EQ(f.Height(), 6000);
    EXPECT_EQ(f.Left(), 2000);
    EXPECT_EQ(f.Top(), 1500);
    ExpectLaidOut();

    // And again, through the title text and the button.
    f.labCaption.DblClick();
    EXPECT_EQ(f.Width(), 15090);
    f.picMax.Click();
    EXPECT_EQ(f.Width(), 9000);
    EXPECT_EQ(f.Left(), 2000);
    EXPECT_EQ(f.Top(), 1500);
}

TEST_F(WindowTest, TheMaximiseButtonEndsAnUnfinishedGripDrag) {
    StartWithFastPaint(true);
    FrmMain& f = frmMain.Get();
    f.Picture6.MouseDown(Held, 0, 35, 500);
    f.Picture6.MouseMove(Held, 0, 335, 500);
    ASSERT_EQ(Resizing, 1);
    f.picMax.Click();
    EXPECT_EQ(Resizing, 0);
    ExpectLaidOut();
}

TEST_F(WindowTest, CenterFormCentresOnTheWorkAreaThenMovesUpAndLeft) {
    Start("about:blank");
    FrmMain& f = frmMain.Get();
    f.SetWidth(6000);
    f.SetHeight(4000);
    CenterPart2::CenterForm(f);
    EXPECT_EQ(f.Left(), 1500 + (15000 - 6000) / 2 - 60);
    EXPECT_EQ(f.Top(), 600 + (10500 - 4000) / 2 - 60);
    EXPECT_EQ(f.Width(), 6000);
    EXPECT_EQ(f.Height(), 4000);
}

TEST_F(WindowTest, TheMinimiseButtonMinimisesTheCarrierTooAndHidesTheWindow) {
    Start("about:blank");
    // The window's first focus arrives before anyone can reach its buttons.
    testing_support::PumpFor(300);
    Resizing = 1;
    frmMain->picMin.Click();
    EXPECT_EQ(frmMain->WindowState(), vbMinimized);
    EXPECT_EQ(frmDummy->WindowState(), vbMinimized);
    EXPECT_FALSE(frmMain->Visible());
    EXPECT_EQ(Resizing, 0);
    testing_support::PumpFor(300);
    EXPECT_EQ(frmDummy->WindowState(), vbMinimized);
    EXPECT_FALSE(frmMain->Visible());

    frmDummy->SetWindowState(vbNormal);
    EXPECT_TRUE(frmMain->Visible());
    ExpectLaidOut();
}

TEST_F(WindowTest, AWindowButtonShowsItsPressedPictureWhileTheMouseButtonIsHeld) {
    Start("about:blank");
    FrmMain& f = frmMain.Get();
    const std::tuple<PictureBox*, const char*, const char*> buttons[] = {
        {&f.picMin, "picMinButton", "picMinButtonDown"},
        {&f.picMax, "picMaxButton", "picMaxButtonDown"},
        {&f.picClose, "picCloseButton", "picCloseButtonDown"},
    };
    for (const auto& [button, normal, pressed] : buttons) {
        ASSERT_EQ(button->GetPicture(), f.Skin[normal].GetPicture()) << normal;
        ASSERT_NE(f.Skin[normal].GetPicture(), f.Skin[pressed].GetPicture());
        button->MouseDown(Held, 0, 100, 100);
        EXPECT_EQ(button->GetPicture(), f.Skin[pressed].GetPicture()) << pressed;
        button->MouseUp(Held, 0, 100, 100);
        EXPECT_EQ(button->GetPicture(), f.Skin[normal].GetPicture()) << normal;
    }
}

TEST_F(WindowTest, TheCloseButtonSavesTheAddressListAndEndsTheProgram) {
    Start("about:blank");
    frmMain->Combo1.AddItem("http://kept.example/");
    frmMain->picClose.Click();
    EXPECT_EQ(ReadFile("autocomplete.dat"), "http://kept.example/\r\n");
    EXPECT_FALSE(frmDummy.Loaded());
    EXPECT_EQ(endCalls, 1);
}

// Pointer events as the window system delivers them: (x, y) count from where
// the control's window was when the X server saw the pointer, which lags behind
// a move the program has just made; (xRoot, yRoot) are on the screen.

class WindowSystemEventTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Start("about:blank");
        Place(1500, 1500, 9000, 6000);  // at 100, 100 pixels
        testing_support::PumpFor(200);
    }

    static void Deliver(Control& control, GdkEventType type, double x, double y, double xRoot, double yRoot,
                        guint state = 0) {
        GdkWindow* window = control.Widget().get_window()->gobj();
        GdkEvent* event = gdk_event_new(type);
        event->any.window = GDK_WINDOW(g_object_ref(window));
        if (type == GDK_MOTION_NOTIFY) {
            event->motion.x = x;
            event->motion.y = y;
            event->motion.x_root = xRoot;
            event->motion.y_root = yRoot;
            event->motion.state = state;
        } else {
            event->button.button = 1;
            event->button.x = x;
            event->button.y = y;
            event->button.x_root = xRoot;
            event->button.y_root = yRoot;
            event->button.state = state;
        }
        gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(window))));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
};

TEST_F(WindowSystemEventTest, ATitleBarDragFollowsTheMouseThoughEventsLagBehindTheWindow) {
    FrmMain& f = frmMain.Get();
    Deliver(f.Picture4, GDK_BUTTON_PRESS, 300, 2, 400, 102);
    EXPECT_EQ(DragAnchorX, 300 * 15);
    // Both moves were seen before the window had moved: they count from 100, 100.
    Deliver(f.Picture4, GDK_MOTION_NOTIFY, 305, 5, 405, 105, GDK_BUTTON1_MASK);
    EXPECT_EQ(f.Left(), 1500 + 5 * 15);
    EXPECT_EQ(f.Top(), 1500 + 3 * 15);
    Deliver(f.Picture4, GDK_MOTION_NOTIFY, 310, 8, 410, 108, GDK_BUTTON1_MASK);
    EXPECT_EQ(f.Left(), 1500 + 10 * 15);
    EXPECT_EQ(f.Top(), 1500 + 6 * 15);
    // Once the window is there, the events count from its new place.
    Deliver(f.Picture4, GDK_MOTION_NOTIFY, 302, 1, 412, 107, GDK_BUTTON1_MASK);
    EXPECT_EQ(f.Left(), 1500 + 12 * 15);
    EXPECT_EQ(f.Top(), 1500 + 5 * 15);
    Deliver(f.Picture4, GDK_BUTTON_RELEASE, 302, 1, 412, 107, GDK_BUTTON1_MASK);
    // A move without the button does nothing.
    Deliver(f.Picture4, GDK_MOTION_NOTIFY, 400, 10, 520, 117);
    EXPECT_EQ(f.Left(), 1500 + 12 * 15);
}

TEST_F(WindowSystemEventTest, AGripDragGrowsTheWindowByThePointersTravel) {
    FrmMain& f = frmMain.Get();
    // The corner grip is the window's last 19 x 20 pixels: 681, 480 on the screen.
    Deliver(f.Picture5, GDK_BUTTON_PRESS, 10, 10, 691, 490);
    Deliver(f.Picture5, GDK_MOTION_NOTIFY, 14, 12, 695, 492, GDK_BUTTON1_MASK);
    Deliver(f.Picture5, GDK_MOTION_NOTIFY, 18, 14, 699, 494, GDK_BUTTON1_MASK);
    EXPECT_EQ(f.Width(), 9000 + 8 * 15);
    EXPECT_EQ(f.Height(), 6000 + 4 * 15);
    EXPECT_EQ(Resizing, 1);
    Deliver(f.Picture5, GDK_BUTTON_RELEASE, 10, 10, 699, 494, GDK_BUTTON1_MASK);
    EXPECT_EQ(Resizing, 0);
    ExpectLaidOut();
}

TEST_F(WindowSystemEventTest, AWindowButtonIsPressedWhileHeldAndALetGoElsewhereDoesNotClick) {
    FrmMain& f = frmMain.Get();
    Deliver(f.picMin, GDK_BUTTON_PRESS, 7, 7, 0, 0);
    EXPECT_EQ(f.picMin.GetPicture(), f.Skin["picMinButtonDown"].GetPicture());
    Deliver(f.picMin, GDK_BUTTON_RELEASE, 7, 60, 0, 0, GDK_BUTTON1_MASK);
    EXPECT_EQ(f.picMin.GetPicture(), f.Skin["picMinButton"].GetPicture());
    EXPECT_EQ(f.WindowState(), vbNormal);
    EXPECT_TRUE(f.Visible());

    Deliver(f.picMin, GDK_BUTTON_PRESS, 7, 7, 0, 0);
    Deliver(f.picMin, GDK_BUTTON_RELEASE, 7, 7, 0, 0, GDK_BUTTON1_MASK);
    EXPECT_EQ(f.WindowState(), vbMinimized);
    EXPECT_EQ(frmDummy->WindowState(), vbMinimized);
}

TEST_F(WindowSystemEventTest, DoubleClickingTheTitleBarMaximisesAndRestores) {
    FrmMain& f = frmMain.Get();
    Deliver(f.Picture4, GDK_2BUTTON_PRESS, 300, 2, 400, 102);
    EXPECT_EQ(IsMaximised, 1);
    EXPECT_EQ(f.Width(), 1000 * 15 + 90);
    Deliver(f.labCaption, GDK_2BUTTON_PRESS, 30, 5, 0, 0);
    EXPECT_EQ(IsMaximised, 0);
    EXPECT_EQ(f.Width(), 9000);
    EXPECT_EQ(f.Left(), 1500);
}

}  // namespace
