#include "app/BuiltinSkin.h"

#include <cairomm/context.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "app/SkinTable.h"

namespace BuiltinSkin {
namespace {

using Surface = Cairo::RefPtr<Cairo::ImageSurface>;
using Context = Cairo::RefPtr<Cairo::Context>;

constexpr double Pi = std::numbers::pi;

// Where the window layout puts the pieces over one another, in pixels. Buttons,
// tabs and the animation are opaque, so their backgrounds continue the strip
// that lies under them.
constexpr int TitleRows = 20;          // visible height of the title bar
constexpr int WindowButtonTop = 5;     // window buttons inside the title bar
constexpr int MenuBarRows = 24;
constexpr int ToolbarRows = 35;
constexpr int ToolbarButtonTop = 1;    // toolbar buttons inside the toolbar
constexpr int StripRows = 25;
constexpr int TabFaceTop = 4;          // tab faces inside the tab strip
constexpr int AccentRows = 2;          // accent line at the foot of the tab strip
constexpr int StatusRows = 15;         // status bar rows above the bottom edge
constexpr int EdgeWidth = 5;
constexpr int ToolbarButtonSize = 33;

constexpr Colour White{1, 1, 1};

Colour Mix(Colour from, Colour to, double amount) {
    return {from.red + (to.red - from.red) * amount, from.green + (to.green - from.green) * amount,
            from.blue + (to.blue - from.blue) * amount};
}

Colour Lighter(Colour colour, double amount) { return Mix(colour, White, amount); }
Colour Darker(Colour colour, double amount) { return Mix(colour, {0, 0, 0}, amount); }

Colour Hex(unsigned rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

void SetColour(const Context& cr, Colour colour, double alpha = 1.0) {
    cr->set_source_rgba(colour.red, colour.green, colour.blue, alpha);
}

Surface NewSurface(int width, int height) {
    return Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
}

Surface Copy(const Surface& source) {
    Surface copy = NewSurface(source->get_width(), source->get_height());
    auto cr = Cairo::Context::create(copy);
    cr->set_source(source, 0, 0);
    cr->paint();
    return copy;
}

// Whole-pixel fills without anti-aliasing or dithering: every row of a strip
// keeps one colour, so the strip repeats seamlessly at any width.
void FillRect(const Context& cr, double x, double y, double width, double height, Colour colour) {
    SetColour(cr, colour);
    cr->rectangle(x, y, width, height);
    cr->fill();
}

void FillRows(const Context& cr, double width, int top, int rows, Colour first, Colour last) {
    for (int row = 0; row < rows; ++row) {
        const double amount = rows > 1 ? double(row) / (rows - 1) : 0.0;
        FillRect(cr, 0, top + row, width, 1, Mix(first, last, amount));
    }
}

void RoundedRect(const Context& cr, double x, double y, double width, double height, double radius) {
    cr->begin_new_sub_path();
    cr->arc(x + width - radius, y + radius, radius, -Pi / 2, 0);
    cr->arc(x + width - radius, y + height - radius, radius, 0, Pi / 2);
    cr->arc(x + radius, y + height - radius, radius, Pi / 2, Pi);
    cr->arc(x + radius, y + radius, radius, Pi, 3 * Pi / 2);
    cr->close_path();
}

// Rounded at the top only; the bottom runs straight to y + height.
void TabOutline(const Context& cr, double x, double y, double width, double height, double radius) {
    cr->begin_new_sub_path();
    cr->move_to(x, y + height);
    cr->arc(x + radius, y + radius, radius, Pi, 3 * Pi / 2);
    cr->arc(x + width - radius, y + radius, radius, -Pi / 2, 0);
    cr->line_to(x + width, y + height);
}

void FillVertical(const Context& cr, double top, double bottom, Colour first, Colour last) {
    auto gradient = Cairo::LinearGradient::create(0, top, 0, bottom);
    gradient->add_color_stop_rgb(0, first.red, first.green, first.blue);
    gradient->add_color_stop_rgb(1, last.red, last.green, last.blue);
    cr->set_source(gradient);
    cr->fill_preserve();
}

void Stroke(const Context& cr, Colour colour, double width, double alpha = 1.0) {
    SetColour(cr, colour, alpha);
    cr->set_line_width(width);
    cr->stroke();
}

void RoundPen(const Context& cr) {
    cr->set_line_cap(Cairo::LINE_CAP_ROUND);
    cr->set_line_join(Cairo::LINE_JOIN_ROUND);
}

enum class ButtonState { Normal, Hover, Pressed };
enum class Icon { Back, Forward, Refresh, Stop, NewTab, DelTab, History, Search };
enum class WindowButton { Minimise, Maximise, Close };
enum class Corner { TopLeft, TopRight, BottomRight, BottomLeft };
enum class Side { Top, Right, Bottom, Left };

// The toolbar's icons and the small pictures of the favourites menu.
class IconArtist {
public:
    explicit IconArtist(const Palette& palette) : p_(palette) {}

    void Draw(const Context& cr, Icon icon, double cx, double cy) const {
        cr->save();
        RoundPen(cr);
        switch (icon) {
            case Icon::Back: NavigationIcon(cr, cx, cy, false); break;
            case Icon::Forward: NavigationIcon(cr, cx, cy, true); break;
            case Icon::Refresh: RefreshIcon(cr, cx, cy); break;
            case Icon::Stop: StopIcon(cr, cx, cy); break;
            case Icon::NewTab: TabIcon(cr, cx, cy, p_.addBadge, true); break;
            case Icon::DelTab: TabIcon(cr, cx, cy, p_.removeBadge, false); break;
            case Icon::History: HistoryIcon(cr, cx, cy); break;
            case Icon::Search: SearchIcon(cr, cx, cy); break;
        }
        cr->restore();
    }

    void Globe(const Context& cr, double cx, double cy, double radius, Colour colour) const {
        cr->arc(cx, cy, radius, 0, 2 * Pi);
        FillVertical(cr, cy - radius, cy + radius, Lighter(colour, 0.35), colour);
        cr->begin_new_path();
        cr->save();
        cr->arc(cx, cy, radius, 0, 2 * Pi);
        cr->clip();
        cr->save();
        cr->translate(cx, cy);
        cr->scale(radius * 0.45, radius);
        cr->arc(0, 0, 1, 0, 2 * Pi);
        cr->restore();
        cr->move_to(cx - radius, cy);
        cr->line_to(cx + radius, cy);
        cr->move_to(cx, cy - radius);
        cr->line_to(cx, cy + radius);
        Stroke(cr, White, 0.9, 0.75);
        cr->restore();
        cr->arc(cx, cy, radius, 0, 2 * Pi);
        Stroke(cr, Darker(colour, 0.3), 1);
    }

private:
    // A shaded disc with a soft sheen on its upper half.
    void Disc(const Context& cr, double cx, double cy, double radius, Colour colour) const {
        cr->arc(cx, cy, radius, 0, 2 * Pi);
        FillVertical(cr, cy - radius, cy + radius, Lighter(colour, 0.3), Darker(colour, 0.12));
        Stroke(cr, Darker(colour, 0.3), 1);
        cr->save();
        cr->translate(cx, cy - radius * 0.45);
        cr->scale(radius * 0.72, radius * 0.42);
        cr->arc(0, 0, 1, 0, 2 * Pi);
        cr->restore();
        SetColour(cr, White, 0.22);
        cr->fill();
    }

    void NavigationIcon(const Context& cr, double cx, double cy, bool forward) const {
        Disc(cr, cx, cy, 9.5, p_.navigation);
        const double d = forward ? 1 : -1;
        cr->move_to(cx - 4.5 * d, cy);
        cr->line_to(cx + 4.5 * d, cy);
        cr->move_to(cx + 0.5 * d, cy - 4.2);
        cr->line_to(cx + 4.7 * d, cy);
        cr->line_to(cx + 0.5 * d, cy + 4.2);
        Stroke(cr, White, 2.4);
    }

    void RefreshIcon(const Context& cr, double cx, double cy) const {
        constexpr double radius = 7.0;
        const double start = -Pi / 2 + 0.35;
        const double end = start + 2 * Pi - 1.25;
        cr->arc(cx, cy, radius, start, end);
        Stroke(cr, p_.refresh, 2.8);
        // Arrowhead at the end of the arc, pointing on round the circle.
        const double ex = cx + radius * std::cos(end);
        const double ey = cy + radius * std::sin(end);
        const double tx = -std::sin(end);
        const double ty = std::cos(end);
        const double nx = std::cos(end);
        const double ny = std::sin(end);
        cr->move_to(ex + tx * 4.2, ey + ty * 4.2);
        cr->line_to(ex + nx * 4.2 - tx * 1.2, ey + ny * 4.2 - ty * 1.2);
        cr->line_to(ex - nx * 4.2 - tx * 1.2, ey - ny * 4.2 - ty * 1.2);
        cr->close_path();
        SetColour(cr, p_.refresh);
        cr->fill();
    }

    void StopIcon(const Context& cr, double cx, double cy) const {
        // An octagon, like the road sign.
        constexpr double radius = 9.8;
        for (int corner = 0; corner < 8; ++corner) {
            const double angle = Pi / 8 + corner * Pi / 4;
            cr->line_to(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
        }
        cr->close_path();
        FillVertical(cr, cy - radius, cy + radius, Lighter(p_.stop, 0.25), Darker(p_.stop, 0.1));
        Stroke(cr, Darker(p_.stop, 0.3), 1);
        cr->move_to(cx - 3.6, cy - 3.6);
        cr->line_to(cx + 3.6, cy + 3.6);
        cr->move_to(cx + 3.6, cy - 3.6);
        cr->line_to(cx - 3.6, cy + 3.6);
        Stroke(cr, White, 2.4);
    }

    void TabIcon(const Context& cr, double cx, double cy, Colour badge, bool add) const {
        // A tab standing on its strip.
        cr->move_to(cx - 11, cy + 6.5);
        cr->line_to(cx + 9, cy + 6.5);
        Stroke(cr, p_.icon, 1.5);
        TabOutline(cr, cx - 8.5, cy - 7.5, 15, 14, 2.5);
        FillVertical(cr, cy - 8, cy + 7, p_.iconPaper, Darker(p_.iconPaper, 0.08));
        Stroke(cr, p_.icon, 1.5);
        cr->move_to(cx - 5, cy - 3);
        cr->line_to(cx + 1, cy - 3);
        Stroke(cr, Mix(p_.icon, p_.iconPaper, 0.45), 1.3);
        // The badge: a plus to open, a cross to close.
        const double bx = cx + 6;
        const double by = cy + 5;
        cr->arc(bx, by, 5.6, 0, 2 * Pi);
        SetColour(cr, p_.toolbarTop);
        cr->fill();
        Disc(cr, bx, by, 4.8, badge);
        const double arm = add ? 2.7 : 2.0;
        if (add) {
            cr->move_to(bx - arm, by);
            cr->line_to(bx + arm, by);
            cr->move_to(bx, by - arm);
            cr->line_to(bx, by + arm);
        } else {
            cr->move_to(bx - arm, by - arm);
            cr->line_to(bx + arm, by + arm);
            cr->move_to(bx + arm, by - arm);
            cr->line_to(bx - arm, by + arm);
        }
        Stroke(cr, White, 1.8);
    }

    void HistoryIcon(const Context& cr, double cx, double cy) const {
        constexpr double radius = 8.6;
        cr->arc(cx, cy, radius, 0, 2 * Pi);
        FillVertical(cr, cy - radius, cy + radius, p_.iconPaper, Darker(p_.iconPaper, 0.07));
        Stroke(cr, p_.history, 2.2);
        for (int hour = 0; hour < 12; hour += 3) {
            const double angle = hour * Pi / 6;
            cr->move_to(cx + 5.6 * std::sin(angle), cy - 5.6 * std::cos(angle));
            cr->line_to(cx + 6.4 * std::sin(angle), cy - 6.4 * std::cos(angle));
        }
        Stroke(cr, Mix(p_.icon, p_.iconPaper, 0.35), 1.2);
        cr->move_to(cx, cy - 5);
        cr->line_to(cx, cy);
        cr->line_to(cx + 3.6, cy + 2);
        Stroke(cr, p_.icon, 1.8);
        cr->arc(cx, cy, 1.2, 0, 2 * Pi);
        SetColour(cr, p_.icon);
        cr->fill();
    }

    void SearchIcon(const Context& cr, double cx, double cy) const {
        const double lx = cx - 2.2;
        const double ly = cy - 2.2;
        constexpr double radius = 6.0;
        cr->move_to(lx + 4.6, ly + 4.6);
        cr->line_to(cx + 7.2, cy + 7.2);
        Stroke(cr, p_.searchHandle, 3.8);
        cr->arc(lx, ly, radius, 0, 2 * Pi);
        FillVertical(cr, ly - radius, ly + radius, Lighter(p_.searchGlass, 0.55), p_.searchGlass);
        Stroke(cr, p_.icon, 2.2);
        cr->arc(lx, ly, radius - 2.6, Pi * 1.05, Pi * 1.55);
        Stroke(cr, White, 1.3, 0.9);
    }

    const Palette& p_;
};

// Draws each kind of picture in the colours of one palette.
class Artist {
public:
    explicit Artist(const Palette& palette) : p_(palette), icons_(palette) {}

    // The strips, with their row 0 at y = top, across the whole width.
    void TitleBand(const Context& cr, double width, int top) const {
        FillRect(cr, 0, top, width, 1, p_.frameOutline);
        FillRect(cr, 0, top + 1, width, 1, p_.titleHighlight);
        FillRows(cr, width, top + 2, TitleRows - 3, p_.titleTop, p_.titleBottom);
        FillRect(cr, 0, top + TitleRows - 1, width, 1, p_.titleSeparator);
        FillRect(cr, 0, top + TitleRows, width, 26 - TitleRows, p_.titleBottom);
    }

    void MenuBarBand(const Context& cr, double width, int top) const {
        FillRows(cr, width, top, MenuBarRows, p_.menuBarTop, p_.menuBarBottom);
        FillRect(cr, 0, top + MenuBarRows, width, 1, p_.menuBarBottom);
    }

    void ToolbarBand(const Context& cr, double width, int top) const {
        FillRows(cr, width, top, ToolbarRows - 1, p_.toolbarTop, p_.toolbarBottom);
        FillRect(cr, 0, top + ToolbarRows - 1, width, 1, p_.toolbarLine);
        FillRect(cr, 0, top + ToolbarRows, width, 40 - ToolbarRows, p_.toolbarBottom);
    }

    void StripBand(const Context& cr, double width, int top) const {
        FillRows(cr, width, top, StripRows - AccentRows, p_.stripTop, p_.stripBottom);
        FillRect(cr, 0, top + StripRows - AccentRows, width, AccentRows, p_.accent);
    }

    // Under the status rows lie the rows of the bottom edge, so the strip
    // looks the same whether the edge or the strip is drawn on top.
    void StatusBand(const Context& cr, double width, int top) const {
        FillRect(cr, 0, top, width, 1, p_.statusLine);
        FillRows(cr, width, top + 1, StatusRows - 1, p_.statusTop, p_.statusBottom);
        for (int row = 0; row < EdgeWidth; ++row)
            FillRect(cr, 0, top + StatusRows + row, width, 1, EdgeColour(EdgeWidth - 1 - row));
    }

    // The frame seen across an edge: 0 is the outermost pixel.
    Colour EdgeColour(int depth) const {
        switch (depth) {
            case 0: return p_.frameOutline;
            case 1: return p_.frameLight;
            case 4: return p_.frameInner;
            default: return p_.frame;
        }
    }

    void LeftEdge(const Context& cr, int height) const {
        for (int x = 0; x < EdgeWidth; ++x) FillRect(cr, x, 0, 1, height, EdgeColour(x));
    }

    void RightEdge(const Context& cr, int height) const {
        for (int x = 0; x < EdgeWidth; ++x) FillRect(cr, x, 0, 1, height, EdgeColour(EdgeWidth - 1 - x));
    }

    void BottomEdge(const Context& cr, int width) const {
        for (int y = 0; y < EdgeWidth; ++y) FillRect(cr, 0, y, width, 1, EdgeColour(EdgeWidth - 1 - y));
    }

    // Top corners: the edge runs up to the title bar's outline and highlight.
    void TopCorner(const Context& cr, int width, int height, bool left) const {
        TitleBand(cr, width, 0);
        const int edgeLeft = left ? 0 : width - EdgeWidth;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < EdgeWidth; ++x) {
                const int across = left ? x : EdgeWidth - 1 - x;
                const int depth = y < 2 ? std::min(across, y) : across;
                FillRect(cr, edgeLeft + x, y, 1, 1, EdgeColour(depth));
            }
    }

    // Bottom corners: mitred where the side edge meets the bottom edge.
    void BottomLeftCorner(const Context& cr) const {
        for (int y = 0; y < EdgeWidth; ++y)
            for (int x = 0; x < EdgeWidth; ++x)
                FillRect(cr, x, y, 1, 1, EdgeColour(std::min(x, EdgeWidth - 1 - y)));
    }

    // The resize grip: the status bar's end with grip dots, framed right and below.
    void BottomRightGrip(const Context& cr, int width, int height) const {
        StatusBand(cr, width, height - StatusRows - EdgeWidth);
        const int right = width - EdgeWidth;  // first column of the edge
        const int bottom = height - EdgeWidth;
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column <= row; ++column) {
                const double x = right - 5 - 3 * column;
                const double y = bottom - 5 - 3 * (2 - row);
                FillRect(cr, x + 1, y + 1, 2, 2, Lighter(p_.statusTop, 0.6));
                FillRect(cr, x, y, 2, 2, p_.gripDots);
            }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int depth = std::min(width - 1 - x, height - 1 - y);
                if (depth < EdgeWidth) FillRect(cr, x, y, 1, 1, EdgeColour(depth));
            }
    }

    void WindowButtonPiece(const Context& cr, WindowButton kind, bool pressed) const {
        TitleBand(cr, 15, -WindowButtonTop);
        const bool redFace = pressed && kind == WindowButton::Close;
        RoundedRect(cr, 1.5, 0.5, 12, 12, 2.5);
        if (redFace)
            FillVertical(cr, 0, 13, Lighter(p_.closePressed, 0.15), Darker(p_.closePressed, 0.1));
        else if (pressed)
            FillVertical(cr, 0, 13, p_.windowButtonPressedTop, p_.windowButtonPressedBottom);
        else
            FillVertical(cr, 0, 13, p_.windowButtonTop, p_.windowButtonBottom);
        Stroke(cr, redFace ? Darker(p_.closePressed, 0.25) : p_.windowButtonBorder, 1);

        const Colour glyph = redFace ? p_.closePressedGlyph : p_.windowButtonGlyph;
        const double shift = pressed ? 0.5 : 0.0;
        cr->save();
        cr->translate(shift, shift);
        switch (kind) {
            case WindowButton::Minimise:
                FillRect(cr, 4, 8, 7, 2, glyph);
                break;
            case WindowButton::Maximise:
                FillRect(cr, 4, 3, 7, 2, glyph);
                cr->rectangle(4.5, 3.5, 6, 6);
                Stroke(cr, glyph, 1);
                break;
            case WindowButton::Close:
                RoundPen(cr);
                cr->move_to(4.5, 3.5);
                cr->line_to(10.5, 9.5);
                cr->move_to(10.5, 3.5);
                cr->line_to(4.5, 9.5);
                Stroke(cr, glyph, 1.7);
                break;
        }
        cr->restore();
    }

    void ToolbarButton(const Context& cr, Icon icon, ButtonState state) const {
        ToolbarBand(cr, ToolbarButtonSize, -ToolbarButtonTop);
        if (state == ButtonState::Hover) {
            RoundedRect(cr, 1.5, 1.5, 30, 30, 4);
            FillVertical(cr, 1, 32, p_.hoverTop, p_.hoverBottom);
            Stroke(cr, p_.hoverBorder, 1);
            RoundedRect(cr, 2.5, 2.5, 28, 28, 3);
            Stroke(cr, White, 1, 0.7);
        } else if (state == ButtonState::Pressed) {
            RoundedRect(cr, 1.5, 1.5, 30, 30, 4);
            FillVertical(cr, 1, 32, p_.pressedTop, p_.pressedBottom);
            Stroke(cr, p_.pressedBorder, 1);
            cr->move_to(4, 2.5);
            cr->line_to(29, 2.5);
            Stroke(cr, Darker(p_.pressedTop, 0.12), 1, 0.8);
        }
        const double shift = state == ButtonState::Pressed ? 1.0 : 0.0;
        icons_.Draw(cr, icon, 16.5 + shift, 16.5 + shift);
    }

    void TabArrow(const Context& cr, bool pointsRight, bool hover) const {
        ToolbarBand(cr, 25, 0);
        if (hover) {
            RoundedRect(cr, 1.5, 4.5, 22, 26, 4);
            FillVertical(cr, 4, 31, p_.hoverTop, p_.hoverBottom);
            Stroke(cr, p_.hoverBorder, 1);
        }
        const double tip = pointsRight ? 15.0 : 10.0;
        const double back = pointsRight ? 10.0 : 15.0;
        RoundPen(cr);
        cr->move_to(back, 12.5);
        cr->line_to(tip, 17.5);
        cr->line_to(back, 22.5);
        Stroke(cr, hover ? p_.arrowHover : p_.arrow, 2.4);
    }

    void TabFace(const Context& cr, bool selected) const {
        constexpr double width = 150;
        constexpr int height = 21;
        StripBand(cr, width, -TabFaceTop);
        const int lineTop = height - AccentRows;
        if (selected) {
            TabOutline(cr, 1.5, 0.5, width - 3, height, 4.5);
            FillVertical(cr, 0, lineTop, p_.selectedTabTop, p_.accent);
            Stroke(cr, p_.selectedTabBorder, 1);
            cr->move_to(5, 1.5);
            cr->line_to(width - 5, 1.5);
            Stroke(cr, Lighter(p_.selectedTabTop, 0.45), 1, 0.8);
        } else {
            TabOutline(cr, 1.5, 2.5, width - 3, lineTop - 2, 3.5);
            FillVertical(cr, 2, lineTop, p_.tabTop, p_.tabBottom);
            Stroke(cr, p_.tabBorder, 1);
            cr->move_to(5, 3.5);
            cr->line_to(width - 5, 3.5);
            Stroke(cr, White, 1, 0.7);
        }
        FillRect(cr, 0, lineTop, width, AccentRows, p_.accent);
    }

    // Drop-down menu frame: an outer border with a light inner line at the
    // top and left and a shaded one at the right and bottom.
    void MenuEdge(const Context& cr, int width, int height, Side side) const {
        FillRect(cr, 0, 0, width, height, p_.menuBorder);
        switch (side) {
            case Side::Top: FillRect(cr, 0, 1, width, 1, p_.menuLight); break;
            case Side::Left: FillRect(cr, 1, 0, 1, height, p_.menuLight); break;
            case Side::Right: FillRect(cr, 0, 0, 1, height, p_.menuShade); break;
            case Side::Bottom: FillRect(cr, 0, 0, width, 1, p_.menuShade); break;
        }
    }

    void MenuCorner(const Context& cr, Corner corner) const {
        FillRect(cr, 0, 0, 2, 2, p_.menuBorder);
        switch (corner) {
            case Corner::TopLeft: FillRect(cr, 1, 1, 1, 1, p_.menuLight); break;
            case Corner::TopRight: FillRect(cr, 0, 1, 1, 1, p_.menuShade); break;
            case Corner::BottomRight: FillRect(cr, 0, 0, 1, 1, p_.menuShade); break;
            case Corner::BottomLeft: FillRect(cr, 1, 0, 1, 1, p_.menuShade); break;
        }
    }

    void MenuBack(const Context& cr, int width, int height) const {
        FillRect(cr, 0, 0, width, height, p_.menuBack);
    }

    // The separator may be tiled over a taller row; its line sits mid-tile.
    void MenuSpacer(const Context& cr, int width, int height) const {
        MenuBack(cr, width, height);
        FillRect(cr, 0, height / 2 - 1, width, 1, p_.menuSeparator);
        FillRect(cr, 0, height / 2, width, 1, p_.menuLight);
    }

    void Folder(const Context& cr) const {
        MenuBack(cr, 14, 14);
        const Colour edge = Darker(p_.folder, 0.3);
        RoundedRect(cr, 1.5, 2.5, 5.5, 3, 1);
        FillVertical(cr, 2, 5, Darker(p_.folder, 0.05), Darker(p_.folder, 0.1));
        Stroke(cr, edge, 1);
        RoundedRect(cr, 1.5, 3.5, 11, 8.5, 1);
        FillVertical(cr, 3, 12, Darker(p_.folder, 0.08), Darker(p_.folder, 0.18));
        Stroke(cr, edge, 1);
        RoundedRect(cr, 1.5, 5.5, 11, 6.5, 1);
        FillVertical(cr, 5, 12, Lighter(p_.folder, 0.35), p_.folder);
        Stroke(cr, edge, 1);
    }

    void Link(const Context& cr) const {
        MenuBack(cr, 14, 14);
        icons_.Globe(cr, 7, 7, 5.5, p_.link);
    }

    void SubmenuArrow(const Context& cr, bool highlighted) const {
        FillRect(cr, 0, 0, 14, 14, highlighted ? p_.menuHighlight : p_.menuBack);
        SetColour(cr, highlighted ? p_.menuHighlightGlyph : p_.menuGlyph);
        cr->move_to(5, 3.5);
        cr->line_to(9.5, 7);
        cr->line_to(5, 10.5);
        cr->close_path();
        cr->fill();
    }

    void ScrollArrow(const Context& cr, bool up) const {
        MenuBack(cr, 14, 14);
        SetColour(cr, p_.menuGlyph);
        const double base = up ? 9.0 : 5.0;
        const double tip = up ? 4.5 : 9.5;
        cr->move_to(3, base);
        cr->line_to(11, base);
        cr->line_to(7, tip);
        cr->close_path();
        cr->fill();
    }

    // A ring of eight dots on the menu bar. Frames 0 to 7 move a bright head
    // round the ring with a fading tail; the idle frame shows every dot at rest.
    void BusyFrame(const Context& cr, int frame) const {
        const int width = SkinTable::FrameWidth;
        MenuBarBand(cr, width, 0);
        const Colour rest = Mix(p_.accent, p_.menuBarBottom, 0.72);
        constexpr int dots = 8;
        for (int dot = 0; dot < dots; ++dot) {
            const double angle = dot * 2 * Pi / dots - Pi / 2;
            const double x = width / 2.0 + 7.5 * std::cos(angle);
            const double y = SkinTable::FrameHeight / 2.0 + 7.5 * std::sin(angle);
            Colour colour = rest;
            double radius = 1.7;
            if (frame != SkinTable::IdleFrame) {
                const int age = (frame - dot + dots) % dots;
                const double fade = std::min(1.0, age / 5.0);
                colour = Mix(p_.accent, rest, fade);
                radius = 2.5 - 0.9 * fade;
            }
            cr->arc(x, y, radius, 0, 2 * Pi);
            SetColour(cr, colour);
            cr->fill();
        }
    }

private:
    const Palette& p_;
    IconArtist icons_;
};

using PieceDrawer = std::function<void(const Artist&, const Context&, int width, int height)>;

// How each picture box's piece is drawn.
const std::map<std::string_view, PieceDrawer>& PieceDrawers() {
    static const std::map<std::string_view, PieceDrawer> drawers = [] {
        std::map<std::string_view, PieceDrawer> table;
        table["picLeft"] = [](const Artist& a, const Context& cr, int, int h) { a.LeftEdge(cr, h); };
        table["picRight"] = [](const Artist& a, const Context& cr, int, int h) { a.RightEdge(cr, h); };
        table["picBottom"] = [](const Artist& a, const Context& cr, int w, int) { a.BottomEdge(cr, w); };
        table["picTitleBar"] = [](const Artist& a, const Context& cr, int w, int) { a.TitleBand(cr, w, 0); };
        table["picBotRight"] = [](const Artist& a, const Context& cr, int w, int h) { a.BottomRightGrip(cr, w, h); };
        table["picBrowserTop"] = [](const Artist& a, const Context& cr, int w, int) { a.StripBand(cr, w, 0); };
        table["picStatusBar"] = [](const Artist& a, const Context& cr, int w, int) { a.StatusBand(cr, w, 0); };
        table["picButtonBar"] = [](const Artist& a, const Context& cr, int w, int) { a.ToolbarBand(cr, w, 0); };
        table["picMenuBar"] = [](const Artist& a, const Context& cr, int w, int) { a.MenuBarBand(cr, w, 0); };
        table["picTopLeft"] = [](const Artist& a, const Context& cr, int w, int h) { a.TopCorner(cr, w, h, true); };
        table["picBotLeft"] = [](const Artist& a, const Context& cr, int, int) { a.BottomLeftCorner(cr); };
        table["picTopRight"] = [](const Artist& a, const Context& cr, int w, int h) { a.TopCorner(cr, w, h, false); };

        const std::pair<std::string_view, WindowButton> windowButtons[] = {
            {"picMaxButton", WindowButton::Maximise},
            {"picMinButton", WindowButton::Minimise},
            {"picCloseButton", WindowButton::Close},
        };
        for (const auto& [box, kind] : windowButtons) {
            table[box] = [kind](const Artist& a, const Context& cr, int, int) { a.WindowButtonPiece(cr, kind, false); };
        }
        table["picMaxButtonDown"] = [](const Artist& a, const Context& cr, int, int) {
            a.WindowButtonPiece(cr, WindowButton::Maximise, true);
        };
        table["picMinButtonDown"] = [](const Artist& a, const Context& cr, int, int) {
            a.WindowButtonPiece(cr, WindowButton::Minimise, true);
        };
        table["picCloseButtonDown"] = [](const Artist& a, const Context& cr, int, int) {
            a.WindowButtonPiece(cr, WindowButton::Close, true);
        };

        const std::pair<std::string_view, Corner> menuCorners[] = {
            {"picMnuTopLeft", Corner::TopLeft},
            {"picMnuTopRight", Corner::TopRight},
            {"picMnuBotRight", Corner::BottomRight},
            {"picMnuBotLeft", Corner::BottomLeft},
        };
        for (const auto& [box, corner] : menuCorners) {
            table[box] = [corner](const Artist& a, const Context& cr, int, int) { a.MenuCorner(cr, corner); };
        }
        const std::pair<std::string_view, Side> menuEdges[] = {
            {"picMnuTop", Side::Top},
            {"picMnuLeft", Side::Left},
            {"picMnuRight", Side::Right},
            {"picMnuBottom", Side::Bottom},
        };
        for (const auto& [box, side] : menuEdges) {
            table[box] = [side](const Artist& a, const Context& cr, int w, int h) { a.MenuEdge(cr, w, h, side); };
        }
        table["picMnuBack"] = [](const Artist& a, const Context& cr, int w, int h) { a.MenuBack(cr, w, h); };
        table["picMnuSpacer"] = [](const Artist& a, const Context& cr, int w, int h) { a.MenuSpacer(cr, w, h); };
        table["picFolder"] = [](const Artist& a, const Context& cr, int, int) { a.Folder(cr); };
        table["picLink"] = [](const Artist& a, const Context& cr, int, int) { a.Link(cr); };
        table["picArrow"] = [](const Artist& a, const Context& cr, int, int) { a.SubmenuArrow(cr, false); };
        table["picArrowHi"] = [](const Artist& a, const Context& cr, int, int) { a.SubmenuArrow(cr, true); };
        table["picScroll"] = [](const Artist& a, const Context& cr, int, int) { a.ScrollArrow(cr, false); };
        table["picScrollUp"] = [](const Artist& a, const Context& cr, int, int) { a.ScrollArrow(cr, true); };

        struct ToolbarPieces {
            Icon icon;
            std::string_view normal, hover, pressed;
        };
        const ToolbarPieces toolbar[] = {
            {Icon::Back, "picBackBut", "picBackHiBut", "picBackDown"},
            {Icon::Forward, "picForwardBut", "picForwardHiBut", "picForwardDown"},
            {Icon::Stop, "picStopBut", "picStopHiBut", "picStopDown"},
            {Icon::Refresh, "picrefreshBut", "picRefreshHiBut", "picRefreshDown"},
            {Icon::NewTab, "picNewTabBut", "picNewTabHiBut", "picNewTabDown"},
            {Icon::DelTab, "picDelTabBut", "picDelTabHiBut", "picDelTabDown"},
            {Icon::History, "picHistoryBut", "picHistoryHiBut", "picHistoryDown"},
            {Icon::Search, "picSearchBut", "picSearchHiBut", "picSearchDown"},
        };
        for (const auto& button : toolbar) {
            const Icon icon = button.icon;
            table[button.normal] = [icon](const Artist& a, const Context& cr, int, int) {
                a.ToolbarButton(cr, icon, ButtonState::Normal);
            };
            table[button.hover] = [icon](const Artist& a, const Context& cr, int, int) {
                a.ToolbarButton(cr, icon, ButtonState::Hover);
            };
            table[button.pressed] = [icon](const Artist& a, const Context& cr, int, int) {
                a.ToolbarButton(cr, icon, ButtonState::Pressed);
            };
        }

        table["TabLeft"] = [](const Artist& a, const Context& cr, int, int) { a.TabArrow(cr, false, false); };
        table["TabRight"] = [](const Artist& a, const Context& cr, int, int) { a.TabArrow(cr, true, false); };
        table["TabLeftHi"] = [](const Artist& a, const Context& cr, int, int) { a.TabArrow(cr, false, true); };
        table["TabRightHi"] = [](const Artist& a, const Context& cr, int, int) { a.TabArrow(cr, true, true); };
        table["picTabNotSelected"] = [](const Artist& a, const Context& cr, int, int) { a.TabFace(cr, false); };
        table["picTabSelected"] = [](const Artist& a, const Context& cr, int, int) { a.TabFace(cr, true); };
        return table;
    }();
    return drawers;
}

// Copies a piece over an area 1:1, repeating it from the area's top-left
// corner, the way the window tiles its face.
void Tile(const Context& cr, const Surface& piece, double x, double y, double width, double height) {
    auto pattern = Cairo::SurfacePattern::create(piece);
    pattern->set_extend(Cairo::EXTEND_REPEAT);
    pattern->set_matrix(Cairo::translation_matrix(-x, -y));
    cr->set_source(pattern);
    cr->rectangle(x, y, width, height);
    cr->fill();
}

// A small main window put together from the pieces as the window layout
// places them (pixels), with an empty page and an address box.
Surface SketchWindow(const Painter& painter, const Palette& palette, int width, int height) {
    Surface sketch = NewSurface(width, height);
    auto cr = Cairo::Context::create(sketch);
    const auto tile = [&](std::string_view box, double x, double y, double w, double h) {
        Tile(cr, painter.Piece(box), x, y, w, h);
    };
    constexpr int stripLeft = 5;
    constexpr int menuTop = 20, toolbarTop = 44, stripTop = 79, pageTop = 103;
    const int statusTop = height - 20;

    tile("picTitleBar", 0, 0, width, TitleRows);
    tile("picMenuBar", stripLeft, menuTop, width, MenuBarRows);
    tile("picButtonBar", stripLeft, toolbarTop, width, ToolbarRows);
    tile("picBrowserTop", stripLeft, stripTop, width, StripRows);
    FillRect(cr, stripLeft, pageTop, width - 2 * stripLeft, statusTop - pageTop, palette.page);
    for (int line = 0; line < 5; ++line) {
        const double lineWidth = line == 0 ? 0.45 * width : (line % 2 ? 0.7 : 0.6) * width;
        FillRect(cr, 20, pageTop + 14 + 12 * line, lineWidth, line == 0 ? 6 : 4,
                 line == 0 ? palette.accent : palette.pageText);
    }
    tile("picStatusBar", 0, statusTop, width, 17);

    tile("picLeft", 0, 0, EdgeWidth, height - EdgeWidth);
    tile("picRight", width - EdgeWidth, 0, EdgeWidth, statusTop);
    tile("picBottom", 0, height - EdgeWidth, width - 19, EdgeWidth);
    tile("picTopLeft", 0, 0, EdgeWidth, EdgeWidth);
    tile("picTopRight", width - EdgeWidth, 0, EdgeWidth, EdgeWidth);
    tile("picBotLeft", 0, height - EdgeWidth, EdgeWidth, EdgeWidth);
    tile("picBotRight", width - 19, statusTop, 19, 20);

    const int closeLeft = width - 20;
    tile("picCloseButton", closeLeft, WindowButtonTop, 15, 15);
    tile("picMaxButton", closeLeft - 17, WindowButtonTop, 15, 15);
    tile("picMinButton", closeLeft - 32, WindowButtonTop, 15, 15);
    Tile(cr, painter.Frame(SkinTable::IdleFrame), width - SkinTable::FrameWidth - EdgeWidth, menuTop,
         SkinTable::FrameWidth, SkinTable::FrameHeight);

    const std::string_view buttons[] = {"picBackBut",   "picForwardBut", "picrefreshBut", "picStopBut",
                                        "picNewTabBut", "picDelTabBut",  "picHistoryBut", "picSearchBut"};
    const int buttonLefts[] = {8, 41, 74, 107, 140, 173, 206, 239};
    for (int i = 0; i < 8; ++i)
        tile(buttons[i], stripLeft + buttonLefts[i], toolbarTop + ToolbarButtonTop, 33, 33);
    const int arrowsLeft = width - 11 - 50;
    tile("TabLeft", arrowsLeft, toolbarTop, 25, 35);
    tile("TabRight", arrowsLeft + 25, toolbarTop, 25, 35);
    const double addressLeft = stripLeft + 280;
    const double addressWidth = std::max(7.0, arrowsLeft - addressLeft - 8);
    cr->rectangle(addressLeft + 0.5, toolbarTop + 7.5, addressWidth - 1, 20);
    SetColour(cr, palette.page);
    cr->fill_preserve();
    Stroke(cr, palette.frameInner, 1);

    tile("picTabSelected", stripLeft, stripTop + TabFaceTop, 150, 21);
    tile("picTabNotSelected", stripLeft + 150, stripTop + TabFaceTop, 150, 21);

    // Lines of text, as bars: title, menu titles, address, tab captions, status.
    const auto text = [&](double x, double y, double w, Colour colour) {
        RoundedRect(cr, x, y, w, 5, 2.5);
        SetColour(cr, colour, 0.8);
        cr->fill();
    };
    text(29, 8, 110, palette.windowButtonGlyph);
    for (const double menuLeft : {12, 45, 80, 112, 175})
        text(menuLeft, menuTop + 10, menuLeft == 112 ? 50 : 26, palette.icon);
    text(addressLeft + 6, toolbarTop + 15, std::max(1.0, addressWidth - 14), palette.pageText);
    text(stripLeft + 30, stripTop + TabFaceTop + 6, 90, Lighter(palette.selectedTabTop, 0.85));
    text(stripLeft + 180, stripTop + TabFaceTop + 9, 90, palette.icon);
    text(12, statusTop + 6, 40, palette.icon);
    return sketch;
}

}  // namespace

const Palette& DefaultPalette() {
    static const Palette palette = [] {
        Palette p{};
        p.frameOutline = Hex(0x56677c);
        p.frameLight = Hex(0xe3e9f0);
        p.frame = Hex(0xc3cedb);
        p.frameInner = Hex(0x9badc1);

        p.titleTop = Hex(0xdde5ee);
        p.titleBottom = Hex(0xc2cfdd);
        p.titleHighlight = Hex(0xf4f7fa);
        p.titleSeparator = Hex(0x9eafc3);

        p.windowButtonTop = Hex(0xf3f6f9);
        p.windowButtonBottom = Hex(0xd6dfe8);
        p.windowButtonBorder = Hex(0x8d9fb4);
        p.windowButtonPressedTop = Hex(0xa9b9cb);
        p.windowButtonPressedBottom = Hex(0xc4d0dd);
        p.windowButtonGlyph = Hex(0x34465b);
        p.closePressed = Hex(0xc9473b);
        p.closePressedGlyph = White;

        p.menuBarTop = Hex(0xf2f5f8);
        p.menuBarBottom = Hex(0xe9eef3);
        p.toolbarTop = Hex(0xe9eef3);
        p.toolbarBottom = Hex(0xd7dfe8);
        p.toolbarLine = Hex(0xb3c1d0);
        p.stripTop = Hex(0xcfd8e2);
        p.stripBottom = Hex(0xc0ccd9);
        p.statusTop = Hex(0xe6ebf1);
        p.statusBottom = Hex(0xd5dde6);
        p.statusLine = Hex(0xaebdcd);
        p.gripDots = Hex(0x8495aa);

        p.accent = Hex(0x3d6591);
        p.selectedTabTop = Hex(0x668fbb);
        p.selectedTabBorder = Hex(0x2e4f74);
        p.tabTop = Hex(0xf4f7fa);
        p.tabBottom = Hex(0xdce3eb);
        p.tabBorder = Hex(0x98aabf);

        p.hoverTop = Hex(0xfcfdfe);
        p.hoverBottom = Hex(0xe3eaf2);
        p.hoverBorder = Hex(0x8fa5be);
        p.pressedTop = Hex(0xbccadb);
        p.pressedBottom = Hex(0xd3dce7);
        p.pressedBorder = Hex(0x6e86a2);
        p.icon = Hex(0x3b4b5e);
        p.iconPaper = Hex(0xfbfcfd);
        p.navigation = Hex(0x3b79b8);
        p.refresh = Hex(0x2f8f58);
        p.stop = Hex(0xcf4234);
        p.addBadge = Hex(0x37a060);
        p.removeBadge = Hex(0xd0493b);
        p.history = Hex(0x5f7896);
        p.searchGlass = Hex(0xb9d3ec);
        p.searchHandle = Hex(0x55667b);
        p.arrow = Hex(0x4d5e73);
        p.arrowHover = Hex(0x2f5a8a);

        p.menuBack = Hex(0xf8f9fb);
        p.menuBorder = Hex(0x8e959e);
        p.menuLight = White;
        p.menuShade = Hex(0xe2e5e9);
        p.menuSeparator = Hex(0xcdd2d8);
        p.menuGlyph = Hex(0x4a5a6e);
        p.menuHighlight = Hex(0x2e3742);
        p.menuHighlightGlyph = White;
        p.folder = Hex(0xe9b949);
        p.link = Hex(0x3b84c4);

        p.page = White;
        p.pageText = Hex(0xd3d9e0);
        return p;
    }();
    return palette;
}

Painter::Painter(const Palette& palette) : palette_(palette) {}

Cairo::RefPtr<Cairo::ImageSurface> Painter::Piece(std::string_view boxName) const {
    const SkinTable::Piece* piece = SkinTable::FindByBox(boxName);
    if (!piece) throw std::out_of_range("no skin piece fills the picture box " + std::string(boxName));
    Surface surface = NewSurface(piece->width, piece->height);
    auto cr = Cairo::Context::create(surface);
    PieceDrawers().at(piece->boxName)(Artist(palette_), cr, piece->width, piece->height);
    surface->flush();
    return surface;
}

Cairo::RefPtr<Cairo::ImageSurface> Painter::Frame(int index) const {
    if (index < 0 || index >= SkinTable::FrameCount)
        throw std::out_of_range("no busy-animation frame " + std::to_string(index));
    Surface surface = NewSurface(SkinTable::FrameWidth, SkinTable::FrameHeight);
    Artist(palette_).BusyFrame(Cairo::Context::create(surface), index);
    surface->flush();
    return surface;
}

Cairo::RefPtr<Cairo::ImageSurface> Painter::Preview() const {
    // Sketched at three times the size and scaled down, so the toolbar and the
    // tabs keep their proportions in the miniature.
    constexpr int scale = 3;
    Surface sketch =
        SketchWindow(*this, palette_, SkinTable::PreviewWidth * scale, SkinTable::PreviewHeight * scale);
    Surface preview = NewSurface(SkinTable::PreviewWidth, SkinTable::PreviewHeight);
    auto cr = Cairo::Context::create(preview);
    cr->scale(1.0 / scale, 1.0 / scale);
    auto pattern = Cairo::SurfacePattern::create(sketch);
    pattern->set_filter(Cairo::FILTER_GOOD);
    cr->set_source(pattern);
    cr->paint();
    preview->flush();
    return preview;
}

namespace {

// The built-in pictures, drawn once.
struct DrawnSkin {
    std::map<std::string, Surface, std::less<>> pieces;
    std::vector<Surface> frames;
    Surface preview;
};

const DrawnSkin& Drawn() {
    static const DrawnSkin drawn = [] {
        const Painter painter(DefaultPalette());
        DrawnSkin skin;
        for (const auto& piece : SkinTable::Pieces)
            skin.pieces.emplace(std::string(piece.boxName), painter.Piece(piece.boxName));
        for (int frame = 0; frame < SkinTable::FrameCount; ++frame) skin.frames.push_back(painter.Frame(frame));
        skin.preview = painter.Preview();
        return skin;
    }();
    return drawn;
}

}  // namespace

Cairo::RefPtr<Cairo::ImageSurface> Piece(const std::string& boxName) {
    const auto& pieces = Drawn().pieces;
    auto found = pieces.find(boxName);
    if (found == pieces.end()) throw std::out_of_range("no skin piece fills the picture box " + boxName);
    return Copy(found->second);
}

Cairo::RefPtr<Cairo::ImageSurface> Frame(int index) {
    if (index < 0 || index >= SkinTable::FrameCount)
        throw std::out_of_range("no busy-animation frame " + std::to_string(index));
    return Copy(Drawn().frames[index]);
}

Cairo::RefPtr<Cairo::ImageSurface> Preview() {
    return Copy(Drawn().preview);
}

}  // namespace BuiltinSkin
