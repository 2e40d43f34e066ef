#pragma once

#include <array>
#include <string>
#include <string_view>

// The pieces of a skin: the bitmap files a skin folder may hold, the picture
// box of the main window each one fills, and the size of the built-in picture.
namespace SkinTable {

struct Piece {
    std::string_view fileName;  // name inside a skin folder, exact case
    std::string_view boxName;   // picture box of the skin picture set
    int width;                  // built-in bitmap size in pixels
    int height;
};

inline constexpr int PieceCount = 64;

// In the order in which a skin folder is loaded.
inline constexpr std::array<Piece, PieceCount> Pieces{{
    {"left.bmp", "picLeft", 5, 300},
    {"right.bmp", "picRight", 5, 500},
    {"bottom.bmp", "picBottom", 600, 5},
    {"titlebar.bmp", "picTitleBar", 800, 26},
    {"botright.bmp", "picBotRight", 19, 20},
    {"browsertop.bmp", "picBrowserTop", 338, 25},
    {"statusbar.bmp", "picStatusBar", 500, 20},
    {"buttonbar.bmp", "picButtonBar", 800, 40},
    {"menubar.bmp", "picMenuBar", 338, 25},
    {"topleft.bmp", "picTopLeft", 11, 11},
    {"botleft.bmp", "picBotLeft", 5, 5},
    {"topright.bmp", "picTopRight", 5, 11},
    {"maxbutton.bmp", "picMaxButton", 15, 15},
    {"minbutton.bmp", "picMinButton", 15, 15},
    {"closebutton.bmp", "picCloseButton", 15, 15},
    {"maxbuttonDown.bmp", "picMaxButtonDown", 15, 15},
    {"minbuttonDown.bmp", "picMinButtonDown", 15, 15},
    {"closebuttonDown.bmp", "picCloseButtonDown", 15, 15},
    {"mnutopleft.bmp", "picMnuTopLeft", 2, 2},
    {"mnutop.bmp", "picMnuTop", 121, 2},
    {"mnutopright.bmp", "picMnuTopRight", 2, 2},
    {"mnuright.bmp", "picMnuRight", 2, 189},
    {"mnubotright.bmp", "picMnuBotRight", 2, 2},
    {"mnubottom.bmp", "picMnuBottom", 174, 2},
    {"mnubotleft.bmp", "picMnuBotLeft", 2, 2},
    {"mnuleft.bmp", "picMnuLeft", 2, 229},
    {"mnubackground.bmp", "picMnuBack", 300, 300},
    {"mnuspacer.bmp", "picMnuSpacer", 140, 8},
    {"folder.bmp", "picFolder", 14, 14},
    {"link.bmp", "picLink", 14, 14},
    {"arrow.bmp", "picArrow", 14, 14},
    {"arrowHi.bmp", "picArrowHi", 14, 14},
    {"scroll.bmp", "picScroll", 14, 14},
    {"scrollup.bmp", "picScrollUp", 14, 14},
    {"backflat.bmp", "picBackBut", 33, 33},
    {"forwardflat.bmp", "picForwardBut", 33, 33},
    {"stopflat.bmp", "picStopBut", 33, 33},
    {"refreshflat.bmp", "picrefreshBut", 33, 33},
    {"newtabflat.bmp", "picNewTabBut", 33, 33},
    {"deltabflat.bmp", "picDelTabBut", 33, 33},
    {"historyflat.bmp", "picHistoryBut", 33, 33},
    {"Searchflat.bmp", "picSearchBut", 33, 33},
    {"tableft.bmp", "TabLeft", 25, 35},
    {"tabright.bmp", "TabRight", 25, 35},
    {"tablefthi.bmp", "TabLeftHi", 25, 35},
    {"tabrighthi.bmp", "TabRightHi", 25, 35},
    {"backbutton.bmp", "picBackHiBut", 33, 33},
    {"forwardbutton.bmp", "picForwardHiBut", 33, 33},
    {"stopbutton.bmp", "picStopHiBut", 33, 33},
    {"refreshbutton.bmp", "picRefreshHiBut", 33, 33},
    {"newtabbutton.bmp", "picNewTabHiBut", 33, 33},
    {"deltabbutton.bmp", "picDelTabHiBut", 33, 33},
    {"historybutton.bmp", "picHistoryHiBut", 33, 33},
    {"searchbutton.bmp", "picSearchHiBut", 33, 33},
    {"backdown.bmp", "picBackDown", 33, 33},
    {"forwarddown.bmp", "picForwardDown", 33, 33},
    {"stopdown.bmp", "picStopDown", 33, 33},
    {"refreshdown.bmp", "picRefreshDown", 33, 33},
    {"newtabdown.bmp", "picNewTabDown", 33, 33},
    {"deltabdown.bmp", "picDelTabDown", 33, 33},
    {"historydown.bmp", "picHistoryDown", 33, 33},
    {"searchdown.bmp", "picSearchDown", 33, 33},
    {"tabnotselected.bmp", "picTabNotSelected", 150, 21},
    {"tabselected.bmp", "picTabSelected", 150, 21},
}};

// The busy animation `PicStore`: frames 0 to 7 are shown in turn while a page
// loads, frame 8 is the idle picture. Frame i is the file i + 1 followed by ".bmp".
inline constexpr int FrameCount = 9;
inline constexpr int IdleFrame = 8;
inline constexpr int FrameWidth = 49;
inline constexpr int FrameHeight = 24;

// The options dialog's picture of a skin, preview.bmp in a skin folder.
inline constexpr int PreviewWidth = 137;
inline constexpr int PreviewHeight = 73;
inline constexpr std::string_view PreviewFileName = "preview.bmp";
inline constexpr std::string_view SettingsFileName = "skin.ini";

// The piece filling the named picture box, or nullptr when there is none.
const Piece* FindByBox(std::string_view boxName);
// The piece loaded from the named file (exact case), or nullptr.
const Piece* FindByFile(std::string_view fileName);
// "1.bmp" to "9.bmp" for frames 0 to 8.
std::string FrameFileName(int frame);

}  // namespace SkinTable
