#include <glib.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "program_fixture.h"
#include "app/FrmDummy.h"
#include "app/FrmPopup.h"
#include "app/State.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "x_window.h"

using namespace platform;
using testing_support::Pump;

namespace {

struct Geometry {
    int x, y, width, height;
};

// Where the window system really has the form's window, in pixels.
Geometry RealGeometry(Form& form) {
    Geometry g{};
    auto window = form.Window().get_window();
    if (!window) return g;
    window->get_root_origin(g.x, g.y);
    g.width = window->get_width();
    g.height = window->get_height();
    return g;
}

// Asks the window manager, as a user's shortcut or a tiling tool would.
void WmCtrl(Form& form, const std::vector<std::string>& action) {
    std::vector<std::string> words = {"wmctrl", "-i", "-r", x_window::Id(form)};
    words.insert(words.end(), action.begin(), action.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    gint status = 0;
    ASSERT_TRUE(g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr,
                             &status, nullptr));
    ASSERT_TRUE(g_spawn_check_wait_status(status, nullptr));
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class WindowManagerTest : public ProgramTest {
protected:
    void StartShown() {
        Start("about:blank");
        ASSERT_TRUE(Pump([] { return frmMain->Window().get_mapped() && frmDummy->Window().get_mapped(); }, 5000));
        // The window manager has answered the program's own placement.
        frmMain->WaitForPlacement();
        ASSERT_TRUE(Pump([] { return Settled(frmMain.Get()); }, 5000));
    }

    // The form holds where its window really is.
    static bool Settled(Form& form) {
        const Geometry real = RealGeometry(form);
        return real.x == TwipsToPixelsX(form.Left()) && real.y == TwipsToPixelsY(form.Top()) &&
               real.width == TwipsToPixelsX(form.Width()) && real.height == TwipsToPixelsY(form.Height());
    }

    static void ExpectLaidOut() {
        const double W = frmMain->Width(), H = frmMain->Height();
        EXPECT_EQ(frmMain->Picture4.Width(), W);
        EXPECT_EQ(frmMain->Picture1.Height(), H - 1850);
        EXPECT_EQ(frmMain->picClose.Left(), W - 295);
        EXPECT_EQ(frmMain->Picture5.Left(), W - 285);
    }
};

TEST_F(WindowManagerTest, MovesAndResizesByTheWindowManagerReachTheFormAndTheNextDragStartsThere) {
    StartShown();
    FrmMain& f = frmMain.Get();
    WmCtrl(f, {"-e", "0,200,150,900,600"});
    ASSERT_TRUE(Pump([&] { return f.Left() == 200 * 15 && f.Top() == 150 * 15 && f.Width() == 900 * 15 &&
                                  f.Height() == 600 * 15; }, 5000))
        << f.Left() << "," << f.Top() << " " << f.Width() << "x" << f.Height();
    ExpectLaidOut();

    // A shrink below the layout's minimum is raised back to it.
    WmCtrl(f, {"-e", "0,200,150,300,150"});
    ASSERT_TRUE(Pump([&] { return f.Width() == 5625 && Settled(f); }, 5000)) << f.Width();
    ExpectLaidOut();

    f.Picture4.MouseDown(vbLeftButton, 0, 3000, 150);
    f.Picture4.MouseMove(vbLeftButton, 0, 3150, 120);
    EXPECT_EQ(f.Left(), 200 * 15 + 150);
    EXPECT_EQ(f.Top(), 150 * 15 - 30);
    ASSERT_TRUE(Pump([&] { return Settled(f); }, 5000));
}

TEST_F(WindowManagerTest, MaximiseFitsTheWorkAreaWhereverTheWindowLandsAndRestoreReturns) {
    StartShown();
    FrmMain& f = frmMain.Get();
    // From the top-left corner, openbox answers the refused move with the window where it was.
    for (const auto& [left, top] : {std::pair(3000, 2250), std::pair(0, 0)}) {
        SCOPED_TRACE(left);
        f.Move(left, top);
        f.SetWidth(9000);
        f.SetHeight(6000);
        ASSERT_TRUE(Pump([&] { return Settled(f); }, 5000));

        f.picMax.Click();
        ASSERT_TRUE(Pump([&] { return Settled(f); }, 5000));
        const auto area = WorkArea();
        const Geometry real = RealGeometry(f);
        // The face covers the work area; the frame beyond it is at most what the
        // maximised size adds (6 pixels each way).
        EXPECT_LE(real.x, area.left);
        EXPECT_LE(real.y, area.top);
        EXPECT_GE(real.x + real.width, area.right);
        EXPECT_GE(real.y + real.height, area.bottom);
        EXPECT_LE(real.x + real.width, area.right + 2);
        EXPECT_LE(real.y + real.height, area.bottom + 2);
        ExpectLaidOut();

        f.picMax.Click();
        ASSERT_TRUE(Pump([&] { return Settled(f) && f.Left() == left && f.Top() == top; }, 5000));
        EXPECT_EQ(f.Width(), 9000);
        EXPECT_EQ(f.Height(), 6000);
    }
}

TEST_F(WindowManagerTest, AMaximiseByTheWindowManagerBecomesTheProgramsOwn) {
    StartShown();
    FrmMain& f = frmMain.Get();
    WmCtrl(f, {"-b", "add,maximized_vert,maximized_horz"});
    ASSERT_TRUE(Pump([] { return IsMaximised == 1; }, 5000));
    ASSERT_TRUE(Pump([&] { return Settled(f) && f.WindowState() == vbNormal && f.Picture4.Width() == f.Width(); }, 5000));
    EXPECT_GE(f.Width(), PixelsToTwipsX(WorkArea().right - WorkArea().left));
    ExpectLaidOut();
}

TEST_F(WindowManagerTest, TheCarrierGoesBackOffScreenAsFarAsTheWindowManagerLetsItAndShowsNothing) {
    StartShown();
    FrmDummy& carrier = frmDummy.Get();
    const auto awayFromScreen = [&] {
        const Geometry real = RealGeometry(carrier);
        return real.x < 0 && real.y <= 0;
    };
    ASSERT_TRUE(Pump(awayFromScreen, 5000));
    WmCtrl(carrier, {"-e", "0,100,100,-1,-1"});
    ASSERT_TRUE(Pump([&] { return RealGeometry(carrier).x == 100; }, 5000));
    EXPECT_TRUE(Pump(awayFromScreen, 5000)) << RealGeometry(carrier).x << "," << RealGeometry(carrier).y;
    // openbox keeps a tenth of every window on screen: there, nothing of it shows.
    EXPECT_TRUE(x_window::ShowsNothingAndTakesNoClicks(carrier));
}

TEST_F(WindowManagerTest, ThePopupQuestionAsksForNoWindowButtonsAndTheCarrierKeepsItsOwn) {
    StartShown();
    frmPopup->Show();
    ASSERT_TRUE(Pump([] { return !x_window::AllowedActions(frmPopup.Get()).empty(); }, 5000));
    const auto hints = x_window::Motif(frmPopup.Get());
    ASSERT_TRUE(hints.setsDecorations && hints.setsFunctions);
    EXPECT_EQ(hints.decorations & (x_window::MotifDecorationMenu | x_window::MotifDecorationMinimise |
                                   x_window::MotifDecorationMaximise), 0u);
    EXPECT_EQ(hints.functions & (x_window::MotifFunctionMinimise | x_window::MotifFunctionMaximise |
                                 x_window::MotifFunctionClose), 0u);
    EXPECT_FALSE(Has(x_window::AllowedActions(frmPopup.Get()), "_NET_WM_ACTION_MAXIMIZE_HORZ"));

    EXPECT_FALSE(x_window::Motif(frmDummy.Get()).setsFunctions);
    EXPECT_TRUE(Has(x_window::AllowedActions(frmDummy.Get()), "_NET_WM_ACTION_MINIMIZE"));
    frmPopup.Unload();
}

}  // namespace
