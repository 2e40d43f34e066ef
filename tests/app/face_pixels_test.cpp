// The real window's face as GTK paints it onto the screen, compared at known
// places with the skin pieces it is tiled from. The window paints itself into an
// image rather than being read back from the X server, where the windows of
// tests running alongside may cover it.

#include <cairomm/context.h>
#include <cairomm/surface.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "app/BuiltinSkin.h"
#include "app/SkinTable.h"
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
        SetWorkAreaForTesting({0, 0, 1280, 800});
    }

    // The window as it paints itself now.
    void PaintWindow() {
        Gtk::Window& window = frmMain->Window();
        const int width = Px(frmMain->Width()), height = TwipsToPixelsY(frmMain->Height());
        Gtk::Widget& grip = frmMain->Picture5.Widget();
        // GTK places the widgets at its next layout pass.
        ASSERT_TRUE(testing_support::Pump([&] {
            return window.get_allocated_width() == width && window.get_allocated_height() == height &&
                   grip.get_allocation().get_x() == Px(frmMain->Picture5.Left()) &&
                   grip.get_allocation().get_y() == TwipsToPixelsY(frmMain->Picture5.Top());
        }, 5000));
        face = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
        auto cr = Cairo::Context::create(face);
        gtk_widget_draw(GTK_WIDGET(window.gobj()), cr->cobj());
        face->flush();
    }

    // A pixel of the window, by its position inside the window.
    Colour WindowPixel(int x, int y) const {
        return reinterpret_cast<const std::uint32_t*>(face->get_data() + y * face->get_stride())[x] & 0xFFFFFF;
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
        // The address box lies whole inside its box: its lower border is drawn on
        // the box's last row, where the toolbar would cut off a taller one.
        Gtk::Widget& address = frmMain->Combo1.Widget();
        const int boxHeight = TwipsToPixelsY(f.Combo1.Height());
        EXPECT_LE(address.get_allocated_height(), boxHeight);
        int addressLeft = 0, addressTop = 0;
        address.translate_coordinates(frmMain->Window(), 0, 0, addressLeft, addressTop);
        EXPECT_EQ(addressTop, toolbarTop + TwipsToPixelsY(f.Combo1.Top()));
        const int middle = addressLeft + Px(f.Combo1.Width()) / 2;
        EXPECT_NE(WindowPixel(middle, addressTop + boxHeight - 1), WindowPixel(middle, addressTop + boxHeight / 2))
            << "the box's last row shows the text field, not its border";

        // The window buttons show their normal pictures.
        const int buttonsTop = TwipsToPixelsY(f.picClose.Top());
        EXPECT_EQ(WindowPixel(Px(f.picClose.Left()) + 7, buttonsTop + 7), piece("picCloseButton")(7, 7));
        EXPECT_EQ(WindowPixel(Px(f.picMin.Left()) + 7, buttonsTop + 11), piece("picMinButton")(7, 11));
    }

    Cairo::RefPtr<Cairo::ImageSurface> face;
};

TEST_F(FacePixelsTest, TheBuiltInFaceShowsItsPiecesAtAMiddleSizeAndMaximised) {
    Start("about:blank");
    frmMain->Move(1500, 1500);
    frmMain->SetWidth(12750);
    frmMain->SetHeight(8250);
    PaintWindow();
    const PieceSource builtin = [](const std::string& box) { return FromSurface(BuiltinSkin::Piece(box)); };
    ExpectFaceShowsPieces(builtin);

    // Maximised, the frame hangs 4 pixels off the top-left of the screen; the
    // title bar repeats its piece along the wider window.
    frmMain->MaxiWindow();
    ASSERT_EQ(frmMain->Left(), -60);
    PaintWindow();
    ExpectFaceShowsPieces(builtin);
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
    PaintWindow();
    const std::filesystem::path amber = folder / "skins" / "Amber";
    ExpectFaceShowsPieces([&](const std::string& box) {
        return FromBitmapFile(amber / SkinTable::FindByBox(box)->fileName);
    });
}

}  // namespace
