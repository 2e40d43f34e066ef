// Writes the sample skin "Amber" into a skin folder: a warm palette drawn by the
// built-in skin's painter, with its skin.ini, preview, animation frames and
// most of the pieces. The drop-down and favourites menu pieces are left out on
// purpose: the built-in ones show through, and their neutral colours suit the
// warm window face.

#include <glib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/BuiltinSkin.h"
#include "app/SkinTable.h"

namespace {

using BuiltinSkin::Colour;

Colour Hex(unsigned rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

// Honey and caramel chrome, burnt-orange accents, a dark title bar.
BuiltinSkin::Palette AmberPalette() {
    BuiltinSkin::Palette p = BuiltinSkin::DefaultPalette();  // the menus stay as built in
    p.frameOutline = Hex(0x3f2a16);
    p.frameLight = Hex(0xd9b98f);
    p.frame = Hex(0xb68d5e);
    p.frameInner = Hex(0x8a643b);

    p.titleTop = Hex(0x98673a);
    p.titleBottom = Hex(0x734b24);
    p.titleHighlight = Hex(0xb7895a);
    p.titleSeparator = Hex(0x4e3318);

    p.windowButtonTop = Hex(0xac7d4d);
    p.windowButtonBottom = Hex(0x87592d);
    p.windowButtonBorder = Hex(0x4e3318);
    p.windowButtonPressedTop = Hex(0x5f3e1d);
    p.windowButtonPressedBottom = Hex(0x7a5127);
    p.windowButtonGlyph = Hex(0xfbeed9);
    p.closePressed = Hex(0xc0452c);

    p.menuBarTop = Hex(0xfbf3e6);
    p.menuBarBottom = Hex(0xf4e8d5);
    p.toolbarTop = Hex(0xf4e8d5);
    p.toolbarBottom = Hex(0xe7d3b5);
    p.toolbarLine = Hex(0xc8a77b);
    p.stripTop = Hex(0xe3cca9);
    p.stripBottom = Hex(0xd5b78d);
    p.statusTop = Hex(0xf5ead9);
    p.statusBottom = Hex(0xe8d6bb);
    p.statusLine = Hex(0xc8a77b);
    p.gripDots = Hex(0x9f7a4f);

    p.accent = Hex(0xb35f1c);
    p.selectedTabTop = Hex(0xdf9448);
    p.selectedTabBorder = Hex(0x7c4112);
    p.tabTop = Hex(0xfdf7ee);
    p.tabBottom = Hex(0xefdfc7);
    p.tabBorder = Hex(0xc09d71);

    p.hoverTop = Hex(0xfffbf4);
    p.hoverBottom = Hex(0xf5e4ca);
    p.hoverBorder = Hex(0xc69b66);
    p.pressedTop = Hex(0xe0c39a);
    p.pressedBottom = Hex(0xeedabd);
    p.pressedBorder = Hex(0x9b6f40);
    p.icon = Hex(0x4f3b27);
    p.iconPaper = Hex(0xfffaf2);
    p.navigation = Hex(0xc8701f);
    p.refresh = Hex(0x6a8d2e);
    p.stop = Hex(0xb83a2a);
    p.addBadge = Hex(0x6b9a34);
    p.removeBadge = Hex(0xbf4430);
    p.history = Hex(0x9a6a38);
    p.searchGlass = Hex(0xf3d9a8);
    p.searchHandle = Hex(0x6b4a2a);
    p.arrow = Hex(0x6b4e30);
    p.arrowHover = Hex(0xb35f1c);

    p.menuGlyph = Hex(0x6b4e30);
    p.menuHighlight = Hex(0x7a4a1e);
    p.pageText = Hex(0xe6ddd0);
    return p;
}

// Pieces the sample leaves to the built-in skin.
const std::set<std::string_view> BuiltinMenuPieces = {
    "picMnuTopLeft", "picMnuTop",  "picMnuTopRight", "picMnuRight",  "picMnuBotRight",
    "picMnuBottom",  "picMnuBotLeft", "picMnuLeft",  "picMnuBack",   "picMnuSpacer",
    "picFolder",     "picLink",    "picScroll",      "picScrollUp",
};

// An OLE colour as a skin.ini value: &H00BBGGRR.
std::string OleColour(Colour colour) {
    const auto channel = [](double value) { return unsigned(std::lround(value * 255)); };
    char text[16];
    std::snprintf(text, sizeof text, "&H00%02X%02X%02X", channel(colour.blue), channel(colour.green),
                  channel(colour.red));
    return text;
}

std::string SkinSettings(const BuiltinSkin::Palette& palette) {
    const std::pair<const char*, std::string> entries[] = {
        {"name", "Amber"},
        {"description", "Warm honey and caramel, with burnt-orange tabs and a dark title bar."},
        {"animation", "120"},
        {"menuhighlight", OleColour(palette.menuHighlight)},
        {"menutext", OleColour(Hex(0x3b2c1e))},
        {"menutexthighlight", OleColour(Hex(0xffffff))},
        {"tabtext", "16777215"},  // white, written in decimal
        {"tabtextdisabled", OleColour(Hex(0x6b5640))},
        {"statustext", OleColour(Hex(0x4a3826))},
        {"progressbar", OleColour(Hex(0xd07a2a))},
        {"title", OleColour(Hex(0xfbefdc))},
    };
    std::string text;
    for (const auto& [key, value] : entries) text += std::string("[") + key + "]\r\n" + value + "\r\n";
    return text;
}

void PutLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

// A 24-bit uncompressed Windows bitmap, rows bottom-up, each padded to 4 bytes.
std::string BitmapFile(const Cairo::RefPtr<Cairo::ImageSurface>& picture) {
    picture->flush();
    const int width = picture->get_width();
    const int height = picture->get_height();
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = std::uint32_t(rowBytes) * height;
    constexpr std::uint32_t headerBytes = 14 + 40;

    std::string bytes = "BM";
    PutLittleEndian(bytes, headerBytes + imageBytes, 4);
    PutLittleEndian(bytes, 0, 4);            // reserved
    PutLittleEndian(bytes, headerBytes, 4);  // offset of the pixels
    PutLittleEndian(bytes, 40, 4);           // BITMAPINFOHEADER
    PutLittleEndian(bytes, width, 4);
    PutLittleEndian(bytes, height, 4);
    PutLittleEndian(bytes, 1, 2);   // planes
    PutLittleEndian(bytes, 24, 2);  // bits per pixel
    PutLittleEndian(bytes, 0, 4);   // BI_RGB
    PutLittleEndian(bytes, imageBytes, 4);
    PutLittleEndian(bytes, 2835, 4);  // 72 dpi
    PutLittleEndian(bytes, 2835, 4);
    PutLittleEndian(bytes, 0, 4);  // colours used
    PutLittleEndian(bytes, 0, 4);  // important colours

    const unsigned char* data = picture->get_data();
    const int stride = picture->get_stride();
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < width; ++x) PutLittleEndian(bytes, row[x] & 0xFFFFFF, 3);  // B, G, R
        bytes.append(std::size_t(rowBytes - width * 3), '\0');
    }
    return bytes;
}

// Replaces the file whole, never leaving it half written.
void WriteFile(const std::filesystem::path& path, const std::string& contents) {
    GError* error = nullptr;
    if (!g_file_set_contents(path.c_str(), contents.data(), gssize(contents.size()), &error)) {
        std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error(message);
    }
}

void WriteSkin(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const BuiltinSkin::Palette palette = AmberPalette();
    const BuiltinSkin::Painter painter(palette);

    for (const auto& piece : SkinTable::Pieces) {
        const auto path = folder / piece.fileName;
        if (BuiltinMenuPieces.contains(piece.boxName))
            std::filesystem::remove(path);  // left from an earlier run
        else
            WriteFile(path, BitmapFile(painter.Piece(piece.boxName)));
    }
    for (int frame = 0; frame < SkinTable::FrameCount; ++frame)
        WriteFile(folder / SkinTable::FrameFileName(frame), BitmapFile(painter.Frame(frame)));
    WriteFile(folder / SkinTable::PreviewFileName, BitmapFile(painter.Preview()));
    WriteFile(folder / SkinTable::SettingsFileName, SkinSettings(palette));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SKIN-FOLDER\n", argv[0]);
        return 2;
    }
    try {
        WriteSkin(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
