// Screenshots of the real window under the X server, compared at known points
// with the skin pieces the face is tiled from.

#include <cairomm/surface.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "app/BuiltinSkin.h"
#include "app/SkinTable.h"
#include "app/State.h"
#include "platform/screen.h"
#include "platform/twips.h"

using namespace platform;

namespace {

using Colour = std::uint32_t;  // 0xRRGGBB

// A piece of the skin as pixels: the built-in picture or a skin folder's bitmap.
using PieceSource = std::function<std::function<Colour(int, int)>(const std::string& boxName)>;

std::function<Colour(int, int)> FromSurface(Cairo::RefPtr<Cairo::ImageSurface> surface) {
    return [surface](int x, int y) {
        surface->flush();
        y %= surface->get_height();
        const auto* row = reinterpret_cast<const std::uint32_t*>(surface->get_data() + y * surface->get_stride());
        return row[x % surface->get_width()] & 0xFFFFFF;
    };
}

std::function<Colour(int, int)> FromBitmapFile(const std::filesystem::path& file) {
    std::shared_ptr<GdkPixbuf> pixbuf(gdk_pixbuf_new_from_file(file.c_str(), nullptr), g_object_unref);
    if (!pixbuf) throw std::runtime_error("cannot read " + file.string());
    return [pixbuf](int x, int y) {
        const int channels = gdk_pixbuf_get_n_channels(pixbuf.get());
        y %= gdk_pixbuf_get_height(pixbuf.get());
        const guchar* p = gdk_pixbuf_read_pixels(pixbuf.get()) + y * gdk_pixbuf_get_rowstride(pixbuf.get()) +
                          (x % gdk_pixbuf_get_width(pixbuf.get())) * channels;
        return Colour(p[0]) << 16 | Colour(p[1]) << 8 | p[2];
    };
}

std::filesystem::path SampleSkins() {
    if (const char* program = std::getenv("QUELLIN_BINARY"))
        return std::filesystem::path(program).parent_path() / "skins";
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "skins";
}

int Px(double twips) { return TwipsToPixelsX(twips); }

class FacePixelsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        GdkVisual* visual = gdk_screen_get_system_visual(gdk_screen_get_default());
        if (gdk_visual_get_depth(visual) < 24) GTEST_SKIP() << "the screen shows fewer than 24 bits a pixel";
        SetWorkAreaForTesting({0, 0, 1280, 800});
    }

    // The screen as it is now, once the window has been drawn.
    void TakeScreenshot() {
        frmMain->Refresh();
        testing_support::PumpFor(300);
        GdkWindow* root = gdk_get_default_root_window();
        screen.reset(gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root)),
                     g_object_unref);
        ASSERT_TRUE(screen);
    }

    // A pixel of the window, by its position inside the window.
    Colour WindowPixel(int x, int y) const {
        const int sx = Px(frmMain->Left()) + x, sy = TwipsToPixelsY(frmMain->Top()) + y;
        const int channels = gdk_pixbuf_get_n_channels(screen.get());
        const guchar* p = gdk_pixbuf_read_pixels(screen.get()) + sy * gdk_pixbuf_get_rowstride(screen.get()) + sx * channels;
        return Colour(p[0]) << 16 | Colour(p[1]) << 8 | p[2];
    }

    // Patches of the face that nothing covers, each against the piece tiled there.
    void ExpectFaceShowsPieces(const PieceSource& piece) {
        const FrmMain& f = frmMain.Get();
        const int W = Px(f.Width()), H = TwipsToPixelsY(f.Height());
        struct Patch {
            const char* what;
            int x, y, width, height;  // in the window
            const char* box;          // the piece
            int px, py;               // in the piece, at the patch's top-left corner
        };
        const int statusTop = TwipsToPixelsY(f.Picture10.Top());
        const int gripLeft = Px(f.Picture5.Left()), gripTop = TwipsToPixelsY(f.Picture5.Top());
        const int rightEdge = Px(f.Picture6.Left()), bottomEdge = TwipsToPixelsY(f.Picture7.Top());
        const int stripTop = TwipsToPixelsY(f.Picture2.Top()), toolbarTop = TwipsToPixelsY(f.CoolBar1.Top());
        const int barsLeft = Px(80);
        std::vector<Patch> patches = {
            {"title bar", 40, 0, W - 80, 4, "picTitleBar", 40, 0},
            {"top-left corner", 0, 0, 5, 5, "picTopLeft", 0, 0},
            {"top-right corner", Px(f.Picture13.Left()), 0, 5, 5, "picTopRight", 0, 0},
            {"bottom-left corner", 0, TwipsToPixelsY(f.Picture14.Top()), 5, 5, "picBotLeft", 0, 0},
            {"corner grip", gripLeft, gripTop, 19, 20, "picBotRight", 0, 0},
            {"left edge", 0, 40, 5, H - 60, "picLeft", 0, 40},
            {"right edge", rightEdge, 40, 5, gripTop - 40, "picRight", 0, 40},
            {"bottom edge", 10, bottomEdge, gripLeft - 10, 5, "picBottom", 10, 0},
            {"status bar", W / 2, statusTop, W / 2 - 30, bottomEdge - statusTop, "picStatusBar", W / 2, 0},
            {"toolbar", 10, toolbarTop, Px(f.picTabLeft.Left()) - 10, 1, "picButtonBar", 10 - barsLeft, 0},
            {"tab strip", W - 40, stripTop, 30, 4, "picBrowserTop", W - 40 - barsLeft, 0},
        };
        for (const Patch& patch : patches) {
            const auto colour = piece(patch.box);
            int wrong = 0;
            for (int y = 0; y < patch.height; ++y)
                for (int x = 0; x < patch.width; ++x)
                    wrong += WindowPixel(patch.x + x, patch.y + y) != colour(patch.px + x, patch.py + y);
            EXPECT_EQ(wrong, 0) << patch.what << ": " << patch.width << " x " << patch.height << " at " << patch.x
                                << ", " << patch.y;
        }
        // The window buttons show their normal pictures.
        const int buttonsTop = TwipsToPixelsY(f.picClose.Top());
        EXPECT_EQ(WindowPixel(Px(f.picClose.Left()) + 7, buttonsTop + 7), piece("picCloseButton")(7, 7));
        EXPECT_EQ(WindowPixel(Px(f.picMin.Left()) + 7, buttonsTop + 11), piece("picMinButton")(7, 11));
    }

    std::shared_ptr<GdkPixbuf> screen;
};

TEST_F(FacePixelsTest, TheBuiltInFaceShowsItsPiecesAtAMiddleSizeAndMaximised) {
    Start("about:blank");
    frmMain->Move(1500, 1500);
    frmMain->SetWidth(12750);
    frmMain->SetHeight(8250);
    TakeScreenshot();
    const PieceSource builtin = [](const std::string& box) { return FromSurface(BuiltinSkin::Piece(box)); };
    ExpectFaceShowsPieces(builtin);

    // Maximised, the frame hangs 4 pixels off the top-left of the screen.
    frmMain->MaxiWindow();
    TakeScreenshot();
    ASSERT_EQ(frmMain->Left(), -60);
    EXPECT_EQ(WindowPixel(400, 4), builtin("picTitleBar")(400, 4));
    EXPECT_EQ(WindowPixel(4, 300), builtin("picLeft")(4, 0));
}

TEST_F(FacePixelsTest, TheSampleSkinShowsItsBitmapsAtTheMinimumSize) {
    std::filesystem::create_directories(folder / "skins");
    std::filesystem::copy(SampleSkins() / "Amber", folder / "skins" / "Amber", std::filesystem::copy_options::recursive);
    WriteFile("browser.ini", "[Skin]\r\nskins\\Amber\r\n");
    Start("about:blank");
    frmMain->Move(1500, 1500);
    frmMain->SetWidth(1);
    frmMain->SetHeight(1);
    ASSERT_EQ(frmMain->Width(), 5625);
    TakeScreenshot();
    const std::filesystem::path amber = folder / "skins" / "Amber";
    ExpectFaceShowsPieces([&](const std::string& box) {
        return FromBitmapFile(amber / SkinTable::FindByBox(box)->fileName);
    });
}

}  // namespace
