#include <cairomm/context.h>

#include <cstdint>
#include <string>

#include "program_fixture.h"
#include "app/BuiltinSkin.h"
#include "test_support.h"
#include "app/State.h"
#include "common/TileBitmapModule.h"
#include "platform/screen.h"
#include "platform/twips.h"

using namespace platform;

namespace {

using Surface = Cairo::RefPtr<Cairo::ImageSurface>;

using testing_support::Pixel;

// A picture in which every pixel differs from its neighbours within the pattern.
Surface Pattern(int width, int height) {
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
    surface->flush();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(surface->get_data() + y * surface->get_stride());
        for (int x = 0; x < width; ++x) row[x] = std::uint32_t(0x40 + 3 * x) << 16 | std::uint32_t(0x20 + 5 * y) << 8 | 0x99;
    }
    surface->mark_dirty();
    return surface;
}

// Counts the pixels of the target's persistent image that are not the piece
// repeated from the target's top-left corner.
int MisplacedPixels(const PictureBox& target, const Surface& piece) {
    const Surface& image = target.Surface().ImageSurface();
    int wrong = 0;
    for (int y = 0; y < image->get_height(); ++y)
        for (int x = 0; x < image->get_width(); ++x)
            wrong += Pixel(image, x, y) != Pixel(piece, x % piece->get_width(), y % piece->get_height());
    return wrong;
}

class LayoutTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start("about:blank");
    }

    void Resize(double width, double height) {
        frmMain->SetWidth(width);
        frmMain->SetHeight(height);
    }

    // Every piece the layout places, against the design geometry and the formulas.
    void ExpectFaceLaidOutFor(double W, double H) {
        FrmMain& f = frmMain.Get();
        SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H));
        ASSERT_EQ(f.Width(), W);
        ASSERT_EQ(f.Height(), H);

        // The grips and edges.
        EXPECT_EQ(f.Picture5.Left(), W - 285);
        EXPECT_EQ(f.Picture5.Top(), H - 300);
        EXPECT_EQ(f.Picture5.Width(), 285);
        EXPECT_EQ(f.Picture6.Left(), W - 70);
        EXPECT_EQ(f.Picture6.Top(), 0);
        EXPECT_EQ(f.Picture6.Height(), H - 300);
        EXPECT_EQ(f.Picture7.Left(), 0);
        EXPECT_EQ(f.Picture7.Top(), H - 70);
        EXPECT_EQ(f.Picture7.Width(), W - 285);
        EXPECT_EQ(f.Picture8.Top(), 0);
        EXPECT_EQ(f.Picture8.Height(), H - 70);

        // The bars span the window; their tops and heights stay as designed.
        for (PictureBox* bar : {&f.Picture4, &f.CoolBar1, &f.Picture10, &f.Picture9}) EXPECT_EQ(bar->Width(), W);
        EXPECT_EQ(f.Picture4.Top(), 0);
        EXPECT_EQ(f.Picture4.Height(), 300);
        EXPECT_EQ(f.Picture9.Top(), 300);
        EXPECT_EQ(f.Picture9.Left(), 80);
        EXPECT_EQ(f.CoolBar1.Top(), 660);
        EXPECT_EQ(f.CoolBar1.Left(), 80);
        EXPECT_EQ(f.CoolBar1.Height(), 525);

        // The tab-strip arrows and the address bar between the toolbar buttons and them.
        EXPECT_EQ(f.picTabRight.Left(), W - 160 - 375);
        EXPECT_EQ(f.picTabLeft.Left(), W - 160 - 375 - 375);
        EXPECT_EQ(f.picTabLeft.Top(), 660);
        EXPECT_EQ(f.Combo1.Left(), 4200);
        EXPECT_EQ(f.Combo1.Width(), std::max(100.0, (W - 910) - 4200 - 120 - 70));

        // Tab strip, browser area and the current browser.
        EXPECT_EQ(f.Picture2.Left(), 80);
        EXPECT_EQ(f.Picture2.Top(), 1180);
        EXPECT_EQ(f.Picture2.Width(), W - 80);
        EXPECT_EQ(f.Picture1.Left(), 80);
        EXPECT_EQ(f.Picture1.Top(), 375 + 525 + 650);
        EXPECT_EQ(f.Picture1.Height(), H - 1550 - 300);
        EXPECT_EQ(f.Picture1.Width(), W - 80 - 70);
        EXPECT_EQ(f.WebBrowser1(CurrentTab).Width(), W - 150);
        EXPECT_EQ(f.WebBrowser1(CurrentTab).Height(), H - 1850);

        // Corners.
        EXPECT_EQ(f.Picture12.Left(), 0);
        EXPECT_EQ(f.Picture12.Top(), 0);
        EXPECT_EQ(f.Picture13.Left(), W - 70);
        EXPECT_EQ(f.Picture13.Top(), 0);
        EXPECT_EQ(f.Picture14.Left(), 0);
        EXPECT_EQ(f.Picture14.Top(), H - 70);

        // Status bar under the browser area, progress bar at a fixed distance from the right.
        EXPECT_EQ(f.Picture10.Top(), H - 300);
        EXPECT_EQ(f.Picture10.Height(), 255);
        EXPECT_EQ(f.picProgress.Left(), W - 1800);
        EXPECT_EQ(f.StatusBar1.Left(), 120);
        EXPECT_EQ(f.StatusBar1.Width(), W - 1800 - 120 - 60);

        // Busy animation, window buttons and the title text.
        EXPECT_EQ(f.Picture3.Left(), W - 735 - 70);
        EXPECT_EQ(f.Picture3.Top(), 300);
        EXPECT_EQ(f.picClose.Left(), W - 295);
        EXPECT_EQ(f.picMax.Left(), W - 295 - 255);
        EXPECT_EQ(f.picMin.Left(), W - 295 - 255 - 225);
        for (PictureBox* button : {&f.picMin, &f.picMax, &f.picClose}) EXPECT_EQ(button->Top(), 75);
        EXPECT_EQ(f.labCaption.Left(), 430);
        EXPECT_EQ(f.labCaption.Width(), (W - 775) - 430 - 200);
    }

    // The twelve tiled pieces of the face, each checked over its whole image.
    void ExpectFaceTiled() {
        FrmMain& f = frmMain.Get();
        const std::pair<PictureBox*, const char*> pairs[] = {
            {&f.Picture6, "picRight"},      {&f.Picture7, "picBottom"},       {&f.Picture5, "picBotRight"},
            {&f.Picture8, "picLeft"},       {&f.Picture4, "picTitleBar"},     {&f.Picture2, "picBrowserTop"},
            {&f.Picture10, "picStatusBar"}, {&f.CoolBar1, "picButtonBar"},    {&f.Picture9, "picMenuBar"},
            {&f.Picture12, "picTopLeft"},   {&f.Picture14, "picBotLeft"},     {&f.Picture13, "picTopRight"},
        };
        for (const auto& [target, piece] : pairs)
            EXPECT_EQ(MisplacedPixels(*target, BuiltinSkin::Piece(piece)), 0) << piece;
    }
};

TEST_F(LayoutTest, EveryPieceFollowsTheWindowAtSeveralSizes) {
    ExpectFaceLaidOutFor(10605, 6810);
    ExpectFaceTiled();
    for (const auto& [width, height] : {std::pair{5625.0, 3000.0}, {7777.0, 4321.0}, {16000.0, 9000.0},
                                        {20010.0, 12345.0}, {9000.0, 5000.0}}) {
        Resize(width, height);
        ExpectFaceLaidOutFor(width, height);
    }
    ExpectFaceTiled();
}

TEST_F(LayoutTest, ARequestBelowTheMinimumIsRaisedWhicheverDimensionIsTooSmall) {
    Resize(4000, 7000);
    ExpectFaceLaidOutFor(5625, 7000);
    Resize(8000, 1200);
    ExpectFaceLaidOutFor(8000, 3000);
    // Both at once: the outer run goes on with the size its inner runs set.
    Resize(1, 1);
    ExpectFaceLaidOutFor(5625, 3000);
    ExpectFaceTiled();
    frmMain->SetWidth(-500);
    ExpectFaceLaidOutFor(5625, 3000);
}

TEST_F(LayoutTest, TheAddressBarIs325WideAtTheMinimumWidthAndNever100OrLess) {
    Resize(5625, 3000);
    EXPECT_EQ(frmMain->Combo1.Width(), 325);
    Resize(5700, 3000);
    EXPECT_EQ(frmMain->Combo1.Width(), 400);

    // Wider scroll arrows would leave the address bar no room: it keeps 100 twips.
    frmMain->picTabLeft.SetWidth(1200);
    frmMain->ResizeForm();
    EXPECT_EQ(frmMain->picTabLeft.Left(), 5700 - 160 - 375 - 1200);
    EXPECT_EQ(frmMain->Combo1.Width(), 100);
}

TEST_F(LayoutTest, MinimisingHidesAndClearsResizingRestoringShowsAndLaysOut) {
    Resizing = 1;
    frmMain->SetWindowState(vbMinimized);
    EXPECT_FALSE(frmMain->Visible());
    EXPECT_EQ(Resizing, 0);

    // A minimised window is not laid out, however small it is made.
    const double gripLeft = frmMain->Picture5.Left();
    Resize(1000, 1000);
    EXPECT_EQ(frmMain->Width(), 1000);
    EXPECT_EQ(frmMain->Picture5.Left(), gripLeft);

    frmMain->SetWindowState(vbNormal);
    EXPECT_TRUE(frmMain->Visible());
    ExpectFaceLaidOutFor(5625, 3000);
    ExpectFaceTiled();
}

TEST_F(LayoutTest, APlatformMaximiseEndsInTheProgramsOwnWithTheStateBackToNormal) {
    SetWorkAreaForTesting({0, 0, 1000, 700});
    frmMain->SetWindowState(vbMaximized);
    EXPECT_EQ(frmMain->WindowState(), vbNormal);
    EXPECT_EQ(IsMaximised, 1);
    ExpectFaceLaidOutFor(1000 * 15 + 90, 700 * 15 + 90);
}

TEST_F(LayoutTest, ResizeFormLaysOutAndShowsTheIdleFrame) {
    frmMain->Timer2_Timer();
    frmMain->Timer2_Timer();
    ASSERT_EQ(BusyFrame, 2);
    frmMain->picTabRight.SetLeft(0);
    frmMain->ResizeForm();
    EXPECT_EQ(BusyFrame, 0);
    EXPECT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(8).GetPicture());
    ExpectFaceLaidOutFor(frmMain->Width(), frmMain->Height());
}

TEST_F(LayoutTest, TheCurrentTabsBrowserTakesTheBrowserAreaOthersKeepTheirSize) {
    frmMain->AddTab("about:blank");
    ASSERT_EQ(CurrentTab, 1);
    const double otherWidth = frmMain->WebBrowser1(0).Width();
    Resize(12000, 8000);
    ExpectFaceLaidOutFor(12000, 8000);
    EXPECT_EQ(frmMain->WebBrowser1(0).Width(), otherWidth);
}

// The tiling on its own.

class TileBitmapTest : public ::testing::Test {
protected:
    static void SizeInPixels(PictureBox& box, int width, int height) {
        box.SetWidth(PixelsToTwipsX(width));
        box.SetHeight(PixelsToTwipsY(height));
    }
    static void Hold(PictureBox& box, const Surface& picture) {
        box.AutoSize = true;
        box.SetPicture(Picture(picture));
    }
};

TEST_F(TileBitmapTest, ASmallerPieceRepeatsFromTheTopLeftCornerAndIsCutAtTheEdges) {
    PictureBox src, dest;
    const Surface piece = Pattern(7, 5);
    Hold(src, piece);
    SizeInPixels(dest, 40, 23);
    TileBitmapModule::TileBitmap(dest, src);
    EXPECT_EQ(MisplacedPixels(dest, piece), 0);
    EXPECT_EQ(dest.ScaleWidthPixels(), 40);
    EXPECT_EQ(dest.ScaleHeightPixels(), 23);
}

TEST_F(TileBitmapTest, ALargerPieceShowsOnlyItsTopLeftPart) {
    PictureBox src, dest;
    const Surface piece = Pattern(50, 40);
    Hold(src, piece);
    SizeInPixels(dest, 20, 9);
    TileBitmapModule::TileBitmap(dest, src);
    EXPECT_EQ(MisplacedPixels(dest, piece), 0);
    EXPECT_EQ(dest.ScaleWidthPixels(), 20);
}

TEST_F(TileBitmapTest, TilingReplacesWhatWasDrawnAndStaysAfterARepaint) {
    PictureBox src, dest;
    const Surface piece = Pattern(6, 6);
    Hold(src, piece);
    SizeInPixels(dest, 30, 30);
    dest.SetBackColor(0x0000FF);
    dest.CurrentX() = 0;
    dest.Print("Text drawn before");
    TileBitmapModule::TileBitmap(dest, src);
    dest.Refresh();
    EXPECT_EQ(MisplacedPixels(dest, piece), 0);
}

TEST_F(TileBitmapTest, ASourceWithoutAreaEndsWithTheTargetCleared) {
    PictureBox src, dest, cleared;
    src.SetWidth(0);
    src.SetHeight(0);
    SizeInPixels(dest, 400, 300);
    SizeInPixels(cleared, 400, 300);
    dest.Print("Text drawn before");
    TileBitmapModule::TileBitmap(dest, src);
    EXPECT_TRUE(testing_support::SameImage(dest.Image(), cleared.Image()));
}

TEST_F(TileBitmapTest, AFormIsFilledTheSameWay) {
    struct PlainForm : Form {};
    PlainForm form;
    form.SetWidth(PixelsToTwipsX(33));
    form.SetHeight(PixelsToTwipsY(21));
    PictureBox src;
    const Surface piece = Pattern(10, 4);
    Hold(src, piece);
    TileBitmapModule::TileBitmapForm(form, src);
    const Surface& image = form.Surface().ImageSurface();
    ASSERT_EQ(image->get_width(), 33);
    int wrong = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 33; ++x) wrong += Pixel(image, x, y) != Pixel(piece, x % 10, y % 4);
    EXPECT_EQ(wrong, 0);
}

// A box taller than the largest persistent image, as a favourites level scrolled far
// down grows, shows the copies down to its far edge.
TEST_F(TileBitmapTest, TheCopiesGoOnPastTheLargestImage) {
    struct PlainForm : Form {};
    PlainForm form;
    form.SetWidth(PixelsToTwipsX(40));
    form.SetHeight(PixelsToTwipsY(40));
    PictureBox src, dest;
    const Surface piece = Pattern(7, 5);
    Hold(src, piece);
    dest.PlaceIn(form);
    const int tall = Canvas::MaxImageSide + 300;
    SizeInPixels(dest, 20, tall);
    form.Show();
    ASSERT_TRUE(testing_support::Pump([&] { return dest.Widget().get_allocated_height() == tall; }));
    TileBitmapModule::TileBitmap(dest, src);

    const int from = Canvas::MaxImageSide + 100;
    auto shown = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, 20, 50);
    auto cr = Cairo::Context::create(shown);
    cr->translate(0, -from);
    gtk_widget_draw(dest.Widget().gobj(), cr->cobj());
    int wrong = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 20; ++x) wrong += Pixel(shown, x, y) != Pixel(piece, x % 7, (from + y) % 5);
    EXPECT_EQ(wrong, 0);
}

}  // namespace
