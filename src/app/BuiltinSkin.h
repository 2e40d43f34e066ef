#pragma once

#include <cairomm/surface.h>

#include <string>
#include <string_view>

// The pictures of the built-in skin, drawn in code: the 64 pieces of the skin
// table, the nine busy-animation frames and the options dialog's preview.
// The same drawing in other colours makes the pictures of other skins.
namespace BuiltinSkin {

struct Colour {
    double red;  // 0 to 1
    double green;
    double blue;
};

// Every colour the pictures are drawn in, by the part of the window it belongs to.
struct Palette {
    // Window frame, from the outside in: outline, highlight, body, inner line.
    Colour frameOutline;
    Colour frameLight;
    Colour frame;
    Colour frameInner;

    // Title bar: gradient, the highlight under the outline, the line under it.
    Colour titleTop;
    Colour titleBottom;
    Colour titleHighlight;
    Colour titleSeparator;

    // Minimise, maximise and close buttons.
    Colour windowButtonTop;
    Colour windowButtonBottom;
    Colour windowButtonBorder;
    Colour windowButtonPressedTop;
    Colour windowButtonPressedBottom;
    Colour windowButtonGlyph;
    Colour closePressed;
    Colour closePressedGlyph;

    // Menu bar, toolbar, tab strip and status bar gradients.
    Colour menuBarTop;
    Colour menuBarBottom;
    Colour toolbarTop;
    Colour toolbarBottom;
    Colour toolbarLine;  // the toolbar's lowest line, above the tab strip
    Colour stripTop;
    Colour stripBottom;
    Colour statusTop;
    Colour statusBottom;
    Colour statusLine;  // the status bar's top line, under the page
    Colour gripDots;

    // The accent: the line under the tabs, the selected tab, the busy animation.
    Colour accent;
    Colour selectedTabTop;
    Colour selectedTabBorder;
    Colour tabTop;
    Colour tabBottom;
    Colour tabBorder;

    // Toolbar buttons: hover and pressed faces, then the icons.
    Colour hoverTop;
    Colour hoverBottom;
    Colour hoverBorder;
    Colour pressedTop;
    Colour pressedBottom;
    Colour pressedBorder;
    Colour icon;        // outlines and plain symbols
    Colour iconPaper;   // the light fill of pages and the clock face
    Colour navigation;  // Back and Forward
    Colour refresh;
    Colour stop;
    Colour addBadge;     // New Tab
    Colour removeBadge;  // Remove Tab
    Colour history;
    Colour searchGlass;
    Colour searchHandle;
    Colour arrow;       // tab-strip scroll arrows
    Colour arrowHover;

    // Drop-down and favourites menus.
    Colour menuBack;
    Colour menuBorder;
    Colour menuLight;  // inner frame line, top and left
    Colour menuShade;  // inner frame line, right and bottom
    Colour menuSeparator;
    Colour menuGlyph;
    Colour menuHighlight;
    Colour menuHighlightGlyph;
    Colour folder;
    Colour link;

    // The page in the preview.
    Colour page;
    Colour pageText;
};

// The palette of the built-in skin: calm blue-grey, light chrome for dark text.
const Palette& DefaultPalette();

// Draws skin pictures in the colours of one palette. Every call draws afresh.
class Painter {
public:
    explicit Painter(const Palette& palette);

    // The piece filling the named picture box (as in the skin table), at its
    // built-in size; throws std::out_of_range for a name that is no piece.
    Cairo::RefPtr<Cairo::ImageSurface> Piece(std::string_view boxName) const;
    // Busy-animation frame 0 to 8 (8 is the idle picture); std::out_of_range otherwise.
    Cairo::RefPtr<Cairo::ImageSurface> Frame(int index) const;
    // A miniature of the main window drawn from these pieces.
    Cairo::RefPtr<Cairo::ImageSurface> Preview() const;

private:
    Palette palette_;
};

// The built-in skin, drawn once on first use and kept. Each call hands out a
// copy of its own (FORMAT_RGB24, at the built-in size) that the caller may draw on.
Cairo::RefPtr<Cairo::ImageSurface> Piece(const std::string& boxName);
Cairo::RefPtr<Cairo::ImageSurface> Frame(int index);
Cairo::RefPtr<Cairo::ImageSurface> Preview();

}  // namespace BuiltinSkin
