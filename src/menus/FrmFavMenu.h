#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "menus/MenuFrame.h"
#include "platform/color.h"
#include "platform/control_array.h"
#include "platform/dirlistbox.h"
#include "platform/filelistbox.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"
#include "platform/timer.h"

// Colours of the favourites rows, copied from the skin's menu colours by every level as it loads.
extern platform::OleColor FavMenuHighlightBack;
extern platform::OleColor FavMenuTextColour;
extern platform::OleColor FavMenuHighlightText;

// One level of the favourites cascade: the sub-folders and internet shortcuts of
// one folder as rows inside a skinned frame. The top level is the default
// instance; every deeper level is an extra instance made by the level above it,
// and each level unloads itself once the hover path leaves its folder.
class FrmFavMenu : public platform::Form {
public:
    FrmFavMenu();

    // Fills the level from the folder Path (no trailing separator) and sizes it.
    void GetMenuItems(const std::string& Path);

    // Row highlight codes: a row index, -1 no row, -2 "Add to Favourites...", -3 "Organise Favourites...".
    void ResetMenuItems(std::int16_t Index);
    void ResetMenuFolders(std::int16_t Index);
    // Opens the sub-level of folder row Index at (MenuLeft, MenuTop), unless it is the open one.
    void CreateNextMenu(std::int16_t Index, std::int32_t MenuTop, std::int32_t MenuLeft);

    void ScrollMenu();
    void ScrollMenuUp();
    void CheckVisibleItems();

    platform::PictureBox picMenuBack;
    platform::ControlArray<platform::Label> labFolder;
    platform::ControlArray<platform::PictureBox> picFolder;
    platform::ControlArray<platform::PictureBox> picArrow;
    platform::ControlArray<platform::Label> labMenuItem;
    platform::ControlArray<platform::PictureBox> picLink;
    platform::Label labAdd;
    platform::Label labOrganise;
    platform::PictureBox picSpacer;
    platform::PictureBox picScroll;
    platform::Label labScroll;
    platform::PictureBox picScrollUp;
    platform::Label labScrollUp;
    platform::PictureBox picTopLeft;
    platform::PictureBox picTopRight;
    platform::PictureBox picBotLeft;
    platform::PictureBox picBotRight;
    platform::PictureBox picTop;
    platform::PictureBox picBottom;
    platform::PictureBox picLeft;
    platform::PictureBox picRight;
    MenuFrame FramePieces() {
        return {picTopLeft, picTopRight, picBotLeft, picBotRight, picTop, picBottom, picLeft, picRight};
    }
    platform::DirListBox Dir1;
    platform::FileListBox File1{"*.url"};
    bool TopLevel = false;      // the level the menu bar opens on the Favorites folder
    std::string Source;         // the level's own folder
    std::int16_t CurMenu = 0;   // the folder row hovered last
    platform::Timer Timer1;     // close poll
    platform::Timer Timer2;     // sub-level delay

    // Event handlers.
    void picMenuBack_MouseMove();
    void labFolder_MouseMove(int Index);
    void labMenuItem_MouseMove(int Index);
    void labMenuItem_Click(int Index);
    void labAdd_MouseMove();
    void labOrganise_MouseMove();
    void labAdd_Click();
    void labOrganise_Click();
    void labScroll_MouseMove();
    void labScrollUp_MouseMove();
    void Timer1_Timer();
    void Timer2_Timer();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    // The rows of one kind, the folder rows or the link rows. Row i stands for entry i
    // of the level's folder or file list and lies one row height below row i-1. Its
    // controls (label, icon and, for a folder, arrow) are made only while the row can
    // show: a level of any length costs the rows it shows.
    struct RowKind {
        platform::ControlArray<platform::Label>& labels;
        platform::ControlArray<platform::PictureBox>& icons;
        platform::ControlArray<platform::PictureBox>* arrows;  // the folder rows' sub-menu arrows
        const char* iconPicture;                                // the skin's picture of the icon
        std::vector<std::string> captions;                      // one per entry
        std::map<int, std::string> toolTips;                    // of rows that scrolled out

        int Count() const { return static_cast<int>(captions.size()); }
        double RowHeight() { return labels(0).Height(); }
        // Row 0 comes with the form and is the first row of its kind.
        double Top(int i) { return labels(0).Top() + i * RowHeight(); }
        // The bottom of the last row, or of row 0 when there is none.
        double Bottom() { return Top(Count() > 0 ? Count() - 1 : 0) + RowHeight(); }
    };

    // Where a level shows rows, as CheckVisibleItems tests them: a row shows when its
    // Top is at least T and its bottom, measured in the window, at most B.
    struct VisibleWindow {
        float scrolled, T, B;
        bool Fits(double top, double height) const;
    };

    void CreateRows();
    void CreateFrame();
    void CreateScrollArrows();
    void WireEvents();

    // The steps of GetMenuItems.
    void PlaceCommandRows();
    void ListFolder(const std::string& Path);
    std::vector<std::string> FolderCaptions() const;
    std::vector<std::string> LinkCaptions() const;
    void LayOutRows(RowKind& kind, std::vector<std::string> captions);
    void ShowEmptyRow();
    double TextWidthOfRows();
    double WidestCaption(RowKind& kind);
    void SizeCommandRows(double textWidth);
    double RowMargin();
    double NaturalHeight(double margin);
    void CutToScreen(double margin);
    void PlaceScrollArrows(double levelWidth, double levelHeight);

    // One row of either kind: laid out (caption, place, icon), sized to the level, its arrow placed.
    void LayOutRow(RowKind& kind, int i);
    void SizeRow(platform::Label& row);
    void PlaceArrow(int i);
    // A row scrolled into the window is made whole; one scrolled out goes, row 0 only hides.
    void MakeRow(RowKind& kind, int i);
    void ShowRow(RowKind& kind, int i);
    void RemoveRow(RowKind& kind, int i);
    void ShowRowsThatFit(RowKind& kind, const VisibleWindow& window);
    bool RowShown(RowKind& kind, int i);

    // The address of the shortcut of link row Index.
    std::string ShortcutAddress(int Index);
    // Tiles the frame pieces, the background and the separator from the skin.
    void TileFrame();
    // Scrolling: the bottom pieces follow the container's height, the top pieces its offset.
    void PlaceBottomPieces();
    void PlaceTopPieces();
    // The down arrow goes once the last row is shown.
    void HideDownArrowAtBottom();
    void ShowArrows(bool up, bool down);
    // A command row's click: leaves menu mode, resets the menu bar, runs the dialog, then closes the cascade.
    template <typename Dialog>
    void RunCommandRow(Dialog&& dialog);
    void Highlight(platform::Label& row, bool on);

    RowKind folderRows_{labFolder, picFolder, &picArrow, "picFolder", {}, {}};
    RowKind linkRows_{labMenuItem, picLink, nullptr, "picLink", {}, {}};
    // The link row whose shortcut was read last, -1 before the first.
    int shortcutReadRow_ = -1;
};

extern platform::FormSlot<FrmFavMenu> frmFavMenu;
