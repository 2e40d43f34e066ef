#include <cairomm/context.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/BuiltinSkin.h"
#include "test_support.h"
#include "app/SkinTable.h"

namespace {

using Surface = Cairo::RefPtr<Cairo::ImageSurface>;

using testing_support::Pixel;

bool SamePictures(const Surface& a, const Surface& b) {
    if (a->get_width() != b->get_width() || a->get_height() != b->get_height()) return false;
    for (int y = 0; y < a->get_height(); ++y)
        for (int x = 0; x < a->get_width(); ++x)
            if (Pixel(a, x, y) != Pixel(b, x, y)) return false;
    return true;
}

// The built-in strips are drawn line by line in one colour each: copies of
// them meet without a seam at any length, and any row offset.
void ExpectOneColourLines(const std::string& box, bool horizontally) {
    const Surface piece = BuiltinSkin::Piece(box);
    const int along = horizontally ? piece->get_width() : piece->get_height();
    const int across = horizontally ? piece->get_height() : piece->get_width();
    const auto at = [&](int a, int c) { return horizontally ? Pixel(piece, a, c) : Pixel(piece, c, a); };
    for (int c = 0; c < across; ++c) {
        int differing = 0;
        for (int a = 1; a < along; ++a) differing += at(a, c) != at(0, c);
        EXPECT_EQ(differing, 0) << box << " line " << c;
    }
}

// An opaque piece laid over a strip must show the strip's own colours beside
// its picture: its first column matches the strip's column from a row offset.
void ExpectContinuesStrip(const Surface& piece, const std::string& strip, int rowOffset, const std::string& what) {
    const Surface background = BuiltinSkin::Piece(strip);
    const int rows = std::min(piece->get_height(), background->get_height() - rowOffset);
    for (int y = 0; y < rows; ++y)
        EXPECT_EQ(Pixel(piece, 0, y), Pixel(background, 0, y + rowOffset)) << what << " row " << y;
}

TEST(SkinTableTest, NamesAreUniqueAndFoundBothWays) {
    std::set<std::string_view> files, boxes;
    for (const auto& piece : SkinTable::Pieces) {
        EXPECT_TRUE(files.insert(piece.fileName).second) << piece.fileName;
        EXPECT_TRUE(boxes.insert(piece.boxName).second) << piece.boxName;
        EXPECT_EQ(SkinTable::FindByBox(piece.boxName), &piece);
        EXPECT_EQ(SkinTable::FindByFile(piece.fileName), &piece);
        EXPECT_GT(piece.width, 0);
        EXPECT_GT(piece.height, 0);
    }
    // File names keep their case; a lookup by another case finds nothing.
    EXPECT_EQ(SkinTable::FindByFile("Searchflat.bmp")->boxName, "picSearchBut");
    EXPECT_EQ(SkinTable::FindByFile("searchflat.bmp"), nullptr);
    EXPECT_EQ(SkinTable::FindByBox("picrefreshBut")->fileName, "refreshflat.bmp");
    EXPECT_EQ(SkinTable::FindByBox("picRefreshBut"), nullptr);
    EXPECT_EQ(SkinTable::FrameFileName(0), "1.bmp");
    EXPECT_EQ(SkinTable::FrameFileName(SkinTable::IdleFrame), "9.bmp");
}

TEST(BuiltinSkinTest, EveryPictureHasItsBuiltInSize) {
    for (const auto& piece : SkinTable::Pieces) {
        const Surface surface = BuiltinSkin::Piece(std::string(piece.boxName));
        EXPECT_EQ(surface->get_format(), Cairo::FORMAT_RGB24) << piece.boxName;
        EXPECT_EQ(surface->get_width(), piece.width) << piece.boxName;
        EXPECT_EQ(surface->get_height(), piece.height) << piece.boxName;
    }
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame) {
        EXPECT_EQ(BuiltinSkin::Frame(frame)->get_width(), SkinTable::FrameWidth);
        EXPECT_EQ(BuiltinSkin::Frame(frame)->get_height(), SkinTable::FrameHeight);
    }
    EXPECT_EQ(BuiltinSkin::Preview()->get_width(), SkinTable::PreviewWidth);
    EXPECT_EQ(BuiltinSkin::Preview()->get_height(), SkinTable::PreviewHeight);

    EXPECT_THROW(BuiltinSkin::Piece("picNoSuchPiece"), std::out_of_range);
    EXPECT_THROW(BuiltinSkin::Frame(-1), std::out_of_range);
    EXPECT_THROW(BuiltinSkin::Frame(SkinTable::FrameCount), std::out_of_range);
}

TEST(BuiltinSkinTest, CallersGetCopiesTheyMayDrawOn) {
    const Surface first = BuiltinSkin::Piece("picTabSelected");
    const std::uint32_t before = Pixel(first, 75, 10);
    auto cr = Cairo::Context::create(first);
    cr->set_source_rgb(1, 0, 1);
    cr->paint();
    first->flush();
    EXPECT_EQ(Pixel(BuiltinSkin::Piece("picTabSelected"), 75, 10), before);
}

TEST(BuiltinSkinTest, AnimationFramesAllDiffer) {
    std::vector<Surface> frames;
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame) frames.push_back(BuiltinSkin::Frame(frame));
    for (int a = 0; a < SkinTable::FrameCount; ++a)
        for (int b = a + 1; b < SkinTable::FrameCount; ++b)
            EXPECT_FALSE(SamePictures(frames[a], frames[b])) << "frames " << a << " and " << b;
}

TEST(BuiltinSkinTest, TiledPiecesRepeatWithoutSeams) {
    for (const char* strip : {"picTitleBar", "picMenuBar", "picButtonBar", "picBrowserTop", "picStatusBar",
                              "picBottom", "picMnuTop", "picMnuBottom", "picMnuSpacer", "picMnuBack"})
        ExpectOneColourLines(strip, true);
    for (const char* strip : {"picLeft", "picRight", "picMnuLeft", "picMnuRight", "picMnuBack"})
        ExpectOneColourLines(strip, false);
}

TEST(BuiltinSkinTest, ButtonsTabsAndAnimationBlendIntoTheirStrips) {
    // By size: the toolbar buttons are the 33-pixel pieces, the tab-strip
    // arrows the 25-pixel ones and the window buttons the 15-pixel ones.
    for (const auto& piece : SkinTable::Pieces) {
        const std::string box(piece.boxName);
        if (piece.width == 33) ExpectContinuesStrip(BuiltinSkin::Piece(box), "picButtonBar", 1, box);
        if (piece.width == 25) ExpectContinuesStrip(BuiltinSkin::Piece(box), "picButtonBar", 0, box);
        if (piece.width == 15) ExpectContinuesStrip(BuiltinSkin::Piece(box), "picTitleBar", 5, box);
    }
    ExpectContinuesStrip(BuiltinSkin::Piece("picTabSelected"), "picBrowserTop", 4, "selected tab");
    ExpectContinuesStrip(BuiltinSkin::Piece("picTabNotSelected"), "picBrowserTop", 4, "tab");
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame)
        ExpectContinuesStrip(BuiltinSkin::Frame(frame), "picMenuBar", 0, "frame " + std::to_string(frame));
}

TEST(BuiltinSkinTest, APaletteRecoloursThePictures) {
    const BuiltinSkin::Painter builtin(BuiltinSkin::DefaultPalette());
    EXPECT_TRUE(SamePictures(builtin.Piece("picTitleBar"), BuiltinSkin::Piece("picTitleBar")));
    EXPECT_TRUE(SamePictures(builtin.Frame(3), BuiltinSkin::Frame(3)));

    BuiltinSkin::Palette dark = BuiltinSkin::DefaultPalette();
    dark.titleTop = {0.1, 0.1, 0.1};
    dark.titleBottom = {0.05, 0.05, 0.05};
    const BuiltinSkin::Painter other(dark);
    EXPECT_FALSE(SamePictures(other.Piece("picTitleBar"), BuiltinSkin::Piece("picTitleBar")));
    EXPECT_FALSE(SamePictures(other.Preview(), BuiltinSkin::Preview()));
    EXPECT_TRUE(SamePictures(other.Piece("picMenuBar"), BuiltinSkin::Piece("picMenuBar")));
    EXPECT_THROW(other.Piece("picNoSuchPiece"), std::out_of_range);
}

// The skins/ folder beside the program in the build folder.
std::filesystem::path SkinsFolder() {
    if (const char* program = std::getenv("QUELLIN_BINARY"))
        return std::filesystem::path(program).parent_path() / "skins";
    // tests/<group>_tests sits one folder below the build folder.
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "skins";
}

std::map<std::string, std::string> ReadSettings(const std::filesystem::path& file, bool& crlf) {
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    crlf = !text.empty();
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.empty() || line.back() != '\r')
            crlf = false;
        else
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    std::map<std::string, std::string> settings;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].size() > 2 && lines[i].front() == '[' && lines[i].back() == ']')
            settings[lines[i].substr(1, lines[i].size() - 2)] = lines[i + 1];
    return settings;
}

bool IsColour(const std::string& value) {
    if (value.empty()) return false;
    const bool hex = value.starts_with("&H");
    const std::string digits = hex ? value.substr(2) : value;
    if (digits.empty() || digits.size() > 8) return false;
    return std::ranges::all_of(digits, [hex](char c) { return hex ? std::isxdigit(c) != 0 : std::isdigit(c) != 0; });
}

void ExpectBitmap(const std::filesystem::path& file, int width, int height) {
    std::ifstream in(file, std::ios::binary);
    char header[54] = {};
    ASSERT_TRUE(in.read(header, sizeof header)) << file;
    EXPECT_EQ(std::string(header, 2), "BM") << file;
    EXPECT_EQ(header[28], 24) << file << " is not 24 bits a pixel";
    EXPECT_EQ(header[30] | header[31] | header[32] | header[33], 0) << file << " is compressed";

    GError* error = nullptr;
    GdkPixbuf* picture = gdk_pixbuf_new_from_file(file.c_str(), &error);
    ASSERT_NE(picture, nullptr) << file << ": " << (error ? error->message : "");
    EXPECT_EQ(gdk_pixbuf_get_width(picture), width) << file;
    EXPECT_EQ(gdk_pixbuf_get_height(picture), height) << file;
    g_object_unref(picture);
}

TEST(SampleSkinTest, FolderHoldsBitmapsAndSettingsTheProgramReads) {
    const std::filesystem::path skins = SkinsFolder();
    ASSERT_TRUE(std::filesystem::is_directory(skins)) << skins << " is missing; build the sample_skin target";
    int folders = 0;
    for (const auto& entry : std::filesystem::directory_iterator(skins)) {
        if (!entry.is_directory()) continue;
        ++folders;
        const auto& folder = entry.path();
        int present = 0;
        for (const auto& piece : SkinTable::Pieces) {
            const auto file = folder / piece.fileName;
            if (!std::filesystem::exists(file)) continue;
            ++present;
            ExpectBitmap(file, piece.width, piece.height);
        }
        // A subset: some pieces come from the built-in skin.
        EXPECT_GE(present, 40) << folder;
        EXPECT_LT(present, SkinTable::PieceCount) << folder;
        for (int frame = 0; frame < SkinTable::FrameCount; ++frame)
            ExpectBitmap(folder / SkinTable::FrameFileName(frame), SkinTable::FrameWidth, SkinTable::FrameHeight);
        ExpectBitmap(folder / SkinTable::PreviewFileName, SkinTable::PreviewWidth, SkinTable::PreviewHeight);

        bool crlf = false;
        const auto settings = ReadSettings(folder / SkinTable::SettingsFileName, crlf);
        EXPECT_TRUE(crlf) << "skin.ini lines end with CR LF";
        EXPECT_FALSE(settings.contains("name") ? settings.at("name").empty() : true) << "name";
        EXPECT_TRUE(settings.contains("description")) << "description";
        ASSERT_TRUE(settings.contains("animation"));
        EXPECT_GT(std::atoi(settings.at("animation").c_str()), 0);
        for (const char* key : {"menuhighlight", "menutext", "menutexthighlight", "tabtext", "tabtextdisabled",
                                "statustext", "progressbar", "title"}) {
            ASSERT_TRUE(settings.contains(key)) << key;
            EXPECT_TRUE(IsColour(settings.at(key))) << key << " = " << settings.at(key);
        }
    }
    EXPECT_GE(folders, 1) << "no sample skin in " << skins;
}

}  // namespace
