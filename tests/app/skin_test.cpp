#include <sys/stat.h>
#include <unistd.h>

#include <cairomm/surface.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>

#include "program_fixture.h"
#include "app/BuiltinSkin.h"
#include "app/SkinTable.h"
#include "app/State.h"
#include "common/Conversions.h"
#include "common/General.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

using Colour = std::uint32_t;  // 0xRRGGBB
using PixelRule = std::function<Colour(int x, int y)>;

void PutLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

// The 54 bytes before the pixels of a 24-bit uncompressed bitmap.
std::string BitmapHeader(int width, int height) {
    const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(height);
    std::string bytes = "BM";
    PutLittleEndian(bytes, 54 + imageBytes, 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, 54, 4);
    PutLittleEndian(bytes, 40, 4);
    PutLittleEndian(bytes, std::uint32_t(width), 4);
    PutLittleEndian(bytes, std::uint32_t(height), 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 24, 2);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, imageBytes, 4);
    PutLittleEndian(bytes, 2835, 4);
    PutLittleEndian(bytes, 2835, 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, 0, 4);
    return bytes;
}

std::string Bitmap(int width, int height, const PixelRule& pixel) {
    std::string bytes = BitmapHeader(width, height);
    const int padding = (width * 3 + 3) / 4 * 4 - width * 3;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) PutLittleEndian(bytes, pixel(x, y), 3);
        bytes.append(std::size_t(padding), '\0');
    }
    return bytes;
}

PixelRule Plain(Colour colour) {
    return [colour](int, int) { return colour; };
}

// A pattern that tells every pixel of a small picture from its neighbours.
PixelRule Gradient(Colour base) {
    return [base](int x, int y) { return base ^ (Colour(x * 7 % 256) << 8 | Colour(y * 13 % 256)); };
}

Colour PixelOf(const Cairo::RefPtr<Cairo::ImageSurface>& surface, int x, int y) {
    surface->flush();
    return reinterpret_cast<const std::uint32_t*>(surface->get_data() + y * surface->get_stride())[x] & 0xFFFFFF;
}

bool ShowsRule(const Picture& picture, int width, int height, const PixelRule& rule) {
    if (picture.PixelWidth() != width || picture.PixelHeight() != height) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (PixelOf(picture.Surface(), x, y) != rule(x, y)) return false;
    return true;
}

bool SamePixels(const Picture& picture, const Cairo::RefPtr<Cairo::ImageSurface>& expected) {
    return ShowsRule(picture, expected->get_width(), expected->get_height(),
                     [&](int x, int y) { return PixelOf(expected, x, y); });
}

fs::path SampleSkins() {
    if (const char* program = std::getenv("QUELLIN_BINARY")) return fs::path(program).parent_path() / "skins";
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "skins";
}

class SkinTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start("about:blank");
        for (int i = 0; i < SkinTable::PieceCount; ++i) builtIn[i] = frmMain->Skin.At(i).GetPicture();
    }

    // A skin folder of the program folder, made afresh.
    fs::path SkinFolder(const std::string& name) {
        const fs::path skin = folder / "skins" / name;
        fs::create_directories(skin);
        return skin;
    }

    static void Put(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

    PictureBox& Piece(const std::string& box) { return frmMain->Skin[box]; }

    // Every piece but the named ones still holds its built-in picture.
    void ExpectOthersBuiltIn(std::initializer_list<std::string_view> changed) {
        for (int i = 0; i < SkinTable::PieceCount; ++i) {
            const auto box = SkinTable::Pieces[i].boxName;
            if (std::find(changed.begin(), changed.end(), box) != changed.end()) continue;
            EXPECT_EQ(frmMain->Skin.At(i).GetPicture(), builtIn[i]) << box;
        }
    }

    std::array<Picture, SkinTable::PieceCount> builtIn;
};

TEST_F(SkinTest, AFolderReplacesOnlyThePiecesItHoldsAndTheyTakeTheirBitmapsSize) {
    const fs::path skin = SkinFolder("Part");
    Put(skin / "titlebar.bmp", Bitmap(40, 26, Gradient(0x204060)));
    Put(skin / "left.bmp", Bitmap(5, 7, Gradient(0x808000)));
    Put(skin / "Searchflat.bmp", Bitmap(20, 20, Plain(0x00FF00)));
    Put(skin / "searchflat.bmp", Bitmap(20, 20, Plain(0xFF0000)));  // not the name the skin table gives
    frmMain->LoadSkin(skin.string());

    EXPECT_TRUE(ShowsRule(Piece("picTitleBar").GetPicture(), 40, 26, Gradient(0x204060)));
    EXPECT_EQ(Piece("picTitleBar").Width(), 40 * 15);
    EXPECT_EQ(Piece("picTitleBar").Height(), 26 * 15);
    EXPECT_EQ(Piece("picLeft").Height(), 7 * 15);
    EXPECT_TRUE(ShowsRule(Piece("picSearchBut").GetPicture(), 20, 20, Plain(0x00FF00)));
    // The toolbar shows the new button at once; the face gets its pieces at the next layout.
    EXPECT_EQ(frmMain->picButton(7).GetPicture(), Piece("picSearchBut").GetPicture());
    ExpectOthersBuiltIn({"picTitleBar", "picLeft", "picSearchBut"});

    frmMain->ResizeForm();
    const auto& titleBar = frmMain->Picture4.Surface().ImageSurface();
    const auto& leftEdge = frmMain->Picture8.Surface().ImageSurface();
    int wrong = 0;
    for (int y = 0; y < titleBar->get_height(); ++y)
        for (int x = 0; x < titleBar->get_width(); ++x) wrong += PixelOf(titleBar, x, y) != Gradient(0x204060)(x % 40, y);
    for (int y = 0; y < leftEdge->get_height(); ++y)
        for (int x = 0; x < 5; ++x) wrong += PixelOf(leftEdge, x, y) != Gradient(0x808000)(x, y % 7);
    EXPECT_EQ(wrong, 0);
}

TEST_F(SkinTest, PieceNamesIgnoreLetterCaseAsOnTheDesktopSkinsWereMadeFor) {
    const fs::path skin = SkinFolder("Shouting");
    Put(skin / "TITLEBAR.BMP", Bitmap(40, 26, Plain(0x204060)));
    Put(skin / "SKIN.INI", "[animation]\r\n125\r\n[tabtext]\r\n&H0000FF\r\n");
    frmMain->LoadSkin(skin.string());
    EXPECT_TRUE(ShowsRule(Piece("picTitleBar").GetPicture(), 40, 26, Plain(0x204060)));
    EXPECT_EQ(frmMain->Timer2.Interval(), 125);
    EXPECT_EQ(TabTextColour, 0x0000FFu);
    ExpectOthersBuiltIn({"picTitleBar"});
}

TEST_F(SkinTest, ASecondSkinKeepsTheFirstsPiecesWhereItHasNone) {
    const fs::path first = SkinFolder("First"), second = SkinFolder("Second");
    Put(first / "titlebar.bmp", Bitmap(30, 26, Plain(0x112233)));
    Put(first / "bottom.bmp", Bitmap(30, 5, Plain(0x445566)));
    Put(first / "1.bmp", Bitmap(49, 24, Plain(0x010101)));
    Put(first / "skin.ini", "[animation]\r\n90\r\n[tabtext]\r\n255\r\n");
    Put(second / "bottom.bmp", Bitmap(12, 5, Plain(0x778899)));
    Put(second / "skin.ini", "[menutext]\r\n65280\r\n");

    frmMain->LoadSkin(first.string());
    frmMain->LoadSkin(second.string());

    EXPECT_TRUE(ShowsRule(Piece("picTitleBar").GetPicture(), 30, 26, Plain(0x112233)));
    EXPECT_TRUE(ShowsRule(Piece("picBottom").GetPicture(), 12, 5, Plain(0x778899)));
    EXPECT_TRUE(ShowsRule(frmMain->PicStore(0).GetPicture(), 49, 24, Plain(0x010101)));
    EXPECT_EQ(TabTextColour, 255u);
    EXPECT_EQ(MenuTextColour, 65280u);
    // The second skin.ini has no "animation": the animation stops.
    EXPECT_EQ(frmMain->Timer2.Interval(), 0);
    ExpectOthersBuiltIn({"picTitleBar", "picBottom"});
}

TEST_F(SkinTest, TheWindowButtonPicturesKeepTheirBoxSizeAndTheButtonsShowThemAtOnce) {
    const fs::path skin = SkinFolder("Buttons");
    Put(skin / "minbutton.bmp", Bitmap(21, 19, Plain(0x00AA00)));
    Put(skin / "closebuttonDown.bmp", Bitmap(9, 9, Plain(0xAA0000)));
    Put(skin / "tableft.bmp", Bitmap(30, 40, Plain(0x0000AA)));
    frmMain->LoadSkin(skin.string());

    for (const char* box : {"picMinButton", "picCloseButtonDown"}) {
        EXPECT_EQ(Piece(box).Width(), 225) << box;
        EXPECT_EQ(Piece(box).Height(), 225) << box;
    }
    EXPECT_TRUE(ShowsRule(Piece("picMinButton").GetPicture(), 21, 19, Plain(0x00AA00)));
    EXPECT_EQ(frmMain->picMin.GetPicture(), Piece("picMinButton").GetPicture());
    EXPECT_EQ(frmMain->picMax.GetPicture(), Piece("picMaxButton").GetPicture());
    frmMain->picClose.MouseDown(vbLeftButton, 0, 10, 10);
    EXPECT_EQ(frmMain->picClose.GetPicture(), Piece("picCloseButtonDown").GetPicture());

    // Other pieces follow their bitmap's size; the tab-strip arrow shows it at once.
    EXPECT_EQ(Piece("TabLeft").Width(), 30 * 15);
    EXPECT_EQ(Piece("TabLeft").Height(), 40 * 15);
    EXPECT_EQ(frmMain->picTabLeft.GetPicture(), Piece("TabLeft").GetPicture());
}

TEST_F(SkinTest, ColoursAreReadAsDecimalOrHexadecimalAndAnythingElseLeavesThem) {
    const fs::path skin = SkinFolder("Colours");
    const OleColor tabTextDisabled = TabTextDisabledColour, highlightText = MenuHighlightTextColour;
    const OleColor progressBack = frmMain->picProgress.BackColor();
    const OleColor captionColour = frmMain->labCaption.ForeColor();
    Put(skin / "skin.ini",
        "[menuhighlight]\r\n&H00FF8040\r\n"
        "[menutext]\r\n&h80000012\r\n"
        "[menutexthighlight]\r\nblue\r\n"
        "[tabtext]\r\n  4210752 \r\n"
        "[tabtextdisabled]\r\n12 px\r\n"
        "[statustext]\r\n&HFF\r\n"
        "[progressbar]\r\n32768\r\n");
    frmMain->LoadSkin(skin.string());

    EXPECT_EQ(MenuHighlightColour, 0x00FF8040u);
    EXPECT_EQ(MenuTextColour, 0x80000012u);
    EXPECT_EQ(MenuHighlightTextColour, highlightText);
    EXPECT_EQ(TabTextColour, 4210752u);
    EXPECT_EQ(TabTextDisabledColour, tabTextDisabled);
    // The status text takes its colour at once; the progress bar keeps its own until the next start.
    EXPECT_EQ(StatusTextColour, 0xFFu);
    EXPECT_EQ(frmMain->StatusBar1.ForeColor(), 0xFFu);
    EXPECT_EQ(ProgressBarColour, 32768u);
    EXPECT_EQ(frmMain->picProgress.BackColor(), progressBack);
    // No "title" key: the title text keeps its colour.
    EXPECT_EQ(frmMain->labCaption.ForeColor(), captionColour);

    Put(skin / "skin.ini", "[title]\r\n&H00336699\r\n");
    frmMain->LoadSkin(skin.string());
    EXPECT_EQ(frmMain->labCaption.ForeColor(), 0x00336699u);
    EXPECT_EQ(MenuHighlightColour, 0x00FF8040u);
}

TEST_F(SkinTest, TheAnimationIntervalAndFramesComeOnlyWithASkinIni) {
    const fs::path skin = SkinFolder("Frames");
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame)
        Put(skin / SkinTable::FrameFileName(frame), Bitmap(40 + frame, 20, Plain(0x101010 * Colour(frame + 1))));
    const Picture idle = frmMain->PicStore(8).GetPicture();

    // Without skin.ini the frames and the interval stay.
    frmMain->LoadSkin(skin.string());
    EXPECT_EQ(frmMain->Timer2.Interval(), 200);
    EXPECT_EQ(frmMain->PicStore(8).GetPicture(), idle);

    Put(skin / "skin.ini", "[animation]\r\n150\r\n");
    frmMain->LoadSkin(skin.string());
    EXPECT_EQ(frmMain->Timer2.Interval(), 150);
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame) {
        EXPECT_TRUE(ShowsRule(frmMain->PicStore(frame).GetPicture(), 40 + frame, 20, Plain(0x101010 * Colour(frame + 1))))
            << frame;
        EXPECT_EQ(frmMain->PicStore(frame).Width(), (40 + frame) * 15);
    }
    frmMain->ResizeForm();
    EXPECT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(8).GetPicture());

    // The number at the start of the value, rounded; none at all stops the animation.
    const std::pair<const char*, int> values[] = {
        {"33.7 ms", 34}, {"12.5", 12}, {"13.5", 14}, {"  75", 75}, {"&H20", 32}, {"fast", 0}, {"", 0}, {"250", 250},
    };
    for (const auto& [value, interval] : values) {
        Put(skin / "skin.ini", std::string("[animation]\r\n") + value + "\r\n");
        frmMain->LoadSkin(skin.string());
        EXPECT_EQ(frmMain->Timer2.Interval(), interval) << '"' << value << '"';
    }
}

TEST_F(SkinTest, AnIntervalTheTimerCannotTakeLeavesTheOneThereWas) {
    const fs::path skin = SkinFolder("Huge");
    Put(skin / "skin.ini", "[animation]\r\n120\r\n");
    frmMain->LoadSkin(skin.string());
    ASSERT_EQ(frmMain->Timer2.Interval(), 120);
    for (const char* value : {"99999999999", "-5", "1e300", "-99999999999999999999", "2147483648"}) {
        Put(skin / "skin.ini", std::string("[animation]\r\n") + value + "\r\n[tabtext]\r\n99999999999\r\n");
        const OleColor tabText = TabTextColour;
        frmMain->LoadSkin(skin.string());
        EXPECT_EQ(frmMain->Timer2.Interval(), 120) << value;
        EXPECT_EQ(TabTextColour, tabText) << value;
    }
    // The program goes on: a page load still runs the animation's timer.
    Browser(0).StartLoad("http://127.0.0.1/page");
    ASSERT_TRUE(testing_support::Pump([] { return frmMain->Timer2.Enabled(); }, 3000));
}

TEST_F(SkinTest, BrokenBitmapsLeaveThePicturesThereWere) {
    const fs::path skin = SkinFolder("Broken");
    const std::string good = Bitmap(40, 26, Gradient(0x305070));
    Put(skin / "titlebar.bmp", good.substr(0, good.size() / 2));                           // cut short
    Put(skin / "bottom.bmp", BitmapHeader(20000, 20000) + std::string(600, '\x40'));       // claims 20000 x 20000
    Put(skin / "statusbar.bmp", "[Skin]\r\nthis is text, not a picture\r\n");             // text named .bmp
    Put(skin / "menubar.bmp", "");                                                          // empty
    Put(skin / "buttonbar.bmp", BitmapHeader(0, 0));                                        // no pixels at all
    Put(skin / "browsertop.bmp", BitmapHeader(-5, 3) + std::string(64, '\0'));              // negative width
    fs::create_directories(skin / "right.bmp");                                             // a folder
    fs::create_symlink(skin / "nowhere.bmp", skin / "left.bmp");                            // dangling link
    fs::create_symlink("/proc/self/mem", skin / "botright.bmp");                            // cannot be read
    Put(skin / "topleft.bmp", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>");  // a drawing
    Put(skin / "topright.bmp", Bitmap(platform::MaxPictureSide + 1, 1, Gradient(0x305070)));  // wider than any skin
    Put(skin / "1.bmp", good.substr(0, 60));
    const char garbage[] = "\x01\x02garbage\xff\xfe\r\n[animation\r\n[[tabtext]]\r\n\0\0\0";
    Put(skin / "skin.ini", std::string(garbage, sizeof garbage - 1));
    const OleColor tabText = TabTextColour;
    const Picture firstFrame = frmMain->PicStore(0).GetPicture();

    frmMain->LoadSkin(skin.string());

    ExpectOthersBuiltIn({});
    EXPECT_EQ(frmMain->PicStore(0).GetPicture(), firstFrame);
    EXPECT_EQ(TabTextColour, tabText);
    EXPECT_EQ(frmMain->Timer2.Interval(), 0);  // skin.ini is there, but holds no "animation"
    frmMain->ResizeForm();
    EXPECT_TRUE(frmMain->Visible());
    EXPECT_EQ(endCalls, 0);
}

TEST_F(SkinTest, AFolderThatCannotBeReadChangesNothingItCannotRead) {
    const fs::path skin = SkinFolder("Locked");
    Put(skin / "titlebar.bmp", Bitmap(30, 26, Plain(0x556677)));
    Put(skin / "skin.ini", "[animation]\r\n80\r\n[tabtext]\r\n4660\r\n");
    chmod(skin.c_str(), 0);
    // The superuser reads it all the same: what can be read is what loads.
    const bool readable = access((skin / "titlebar.bmp").c_str(), R_OK) == 0;
    const OleColor tabText = TabTextColour;

    frmMain->LoadSkin(skin.string());
    chmod(skin.c_str(), 0755);

    EXPECT_EQ(frmMain->Timer2.Interval(), readable ? 80 : 200);
    EXPECT_EQ(TabTextColour, readable ? 4660u : tabText);
    if (readable)
        EXPECT_TRUE(ShowsRule(Piece("picTitleBar").GetPicture(), 30, 26, Plain(0x556677)));
    else
        ExpectOthersBuiltIn({});
}

TEST_F(SkinTest, AMissingFolderChangesNoPictureOrColourButReloadsTheAddressList) {
    WriteFile("autocomplete.dat", "http://one.example/\r\n\r\nhttp://two.example/\r\n");
    const OleColor menuText = MenuTextColour, statusText = frmMain->StatusBar1.ForeColor();
    frmMain->Combo1.AddItem("http://typed.example/");

    frmMain->LoadSkin((folder / "skins" / "Gone").string());

    ExpectOthersBuiltIn({});
    EXPECT_EQ(MenuTextColour, menuText);
    EXPECT_EQ(frmMain->StatusBar1.ForeColor(), statusText);
    EXPECT_EQ(frmMain->Timer2.Interval(), 200);
    ASSERT_EQ(frmMain->Combo1.ListCount(), 3);
    EXPECT_EQ(frmMain->Combo1.List(0), "");
    EXPECT_EQ(frmMain->Combo1.List(1), "http://one.example/");
    EXPECT_EQ(frmMain->Combo1.List(2), "http://two.example/");
}

// The sample skin, through the settings the way the program starts.

class SampleSkinLoadTest : public ProgramTest {};

TEST_F(SampleSkinLoadTest, TheSampleSkinLoadsFromTheSettingsAndLeavesTheMenuPiecesItLacks) {
    const fs::path source = SampleSkins() / "Amber";
    ASSERT_TRUE(fs::is_directory(source)) << source;
    fs::create_directories(folder / "skins");
    fs::copy(source, folder / "skins" / "Amber", fs::copy_options::recursive);
    WriteFile("browser.ini", "[Skin]\r\nskins\\Amber\r\n");
    Start("about:blank");

    const fs::path amber = folder / "skins" / "Amber";
    int fromFolder = 0;
    for (const auto& piece : SkinTable::Pieces) {
        const std::string box(piece.boxName);
        if (fs::exists(amber / piece.fileName)) {
            ++fromFolder;
            EXPECT_TRUE(SamePixels(frmMain->Skin[box].GetPicture(), LoadPicture((amber / piece.fileName).string()).Surface()))
                << box;
        } else {
            EXPECT_TRUE(SamePixels(frmMain->Skin[box].GetPicture(), BuiltinSkin::Piece(box))) << box;
        }
    }
    EXPECT_GT(fromFolder, 40);
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame) {
        EXPECT_TRUE(SamePixels(frmMain->PicStore(frame).GetPicture(),
                               LoadPicture((amber / SkinTable::FrameFileName(frame)).string()).Surface()))
            << frame;
    }
    const std::string settings = (amber / "skin.ini").string();
    EXPECT_EQ(frmMain->Timer2.Interval(), std::stoi(General::ReadIni(settings, "animation")));
    EXPECT_EQ(frmMain->picMax.GetPicture(), frmMain->Skin["picMaxButton"].GetPicture());
    EXPECT_EQ(frmMain->picTabRight.GetPicture(), frmMain->Skin["TabRight"].GetPicture());
    EXPECT_EQ(frmMain->picButton(0).GetPicture(), frmMain->Skin["picBackBut"].GetPicture());
    // The face is tiled from the sample's pieces.
    const auto titleBar = LoadPicture((amber / "titlebar.bmp").string()).Surface();
    EXPECT_EQ(PixelOf(frmMain->Picture4.Surface().ImageSurface(), 100, 10), PixelOf(titleBar, 100, 10));
    if (const std::string statusText = General::ReadIni(settings, "statustext"); !statusText.empty()) {
        EXPECT_EQ(frmMain->StatusBar1.ForeColor(), static_cast<OleColor>(Conversions::CLng(statusText)));
    }
}

}  // namespace
