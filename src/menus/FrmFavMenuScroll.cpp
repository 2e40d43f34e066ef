// Scrolling of a favourites level that was cut to the screen: the container of
// the rows moves by one row per step while the frame and the arrows stay put.
#include <cmath>

#include "menus/FrmFavMenu.h"

using namespace platform;

void FrmFavMenu::ShowArrows(bool up, bool down) {
    labScrollUp.SetVisible(up);
    picScrollUp.SetVisible(up);
    picScroll.SetVisible(down);
    labScroll.SetVisible(down);
}

void FrmFavMenu::PlaceBottomPieces() {
    const double H = picMenuBack.Height();
    picScroll.SetTop(H - picScroll.Height() - picBottom.Height());
    labScroll.SetTop(picScroll.Top());
    picBotRight.SetTop(H - picBotRight.Height());
    picBotLeft.SetTop(picBotRight.Top());
    picLeft.SetHeight(H);
    picRight.SetHeight(H);
    picBottom.SetTop(picBotRight.Top());
}

void FrmFavMenu::PlaceTopPieces() {
    const double D = std::abs(picMenuBack.Top());
    for (PictureBox* piece : {&picTopLeft, &picTopRight, &picTop, &picLeft, &picRight}) piece->SetTop(D);
    picScrollUp.SetTop(D + picTop.Height());
    labScrollUp.SetTop(picScrollUp.Top());
}

void FrmFavMenu::HideDownArrowAtBottom() {
    if (Dir1.ListCount() == 0 && File1.ListCount() == 0) return;
    RowKind& kind = File1.ListCount() > 0 ? linkRows_ : folderRows_;
    if (RowShown(kind, kind.Count() - 1)) {
        labScroll.SetVisible(false);
        picScroll.SetVisible(false);
    }
}

void FrmFavMenu::ScrollMenu() {
    labScrollUp.SetVisible(true);
    picScrollUp.SetVisible(true);
    const double s = labMenuItem(0).Height();
    picMenuBack.SetHeight(picMenuBack.Height() + s);
    PlaceBottomPieces();
    TileFrame();
    picMenuBack.SetTop(picMenuBack.Top() - s);
    PlaceTopPieces();
    CheckVisibleItems();
    HideDownArrowAtBottom();
}

void FrmFavMenu::ScrollMenuUp() {
    if (picMenuBack.Top() == 0) {
        ShowArrows(false, true);
        return;
    }
    ShowArrows(true, true);
    const double s = labMenuItem(0).Height();
    picMenuBack.SetHeight(picMenuBack.Height() - s);
    PlaceBottomPieces();
    TileFrame();
    picMenuBack.SetTop(picMenuBack.Top() + s);
    PlaceTopPieces();
    CheckVisibleItems();
    HideDownArrowAtBottom();
    if (picMenuBack.Top() == 0) {
        ShowArrows(false, true);
        CheckVisibleItems();
    }
}

void FrmFavMenu::CheckVisibleItems() {
    VisibleWindow window;
    window.scrolled = std::abs(static_cast<float>(picMenuBack.Top()));
    window.T = window.scrolled + (labScrollUp.Visible() ? static_cast<float>(labScrollUp.Height()) : 0.0f);
    window.B = static_cast<float>(Height() - picScroll.Height());
    if (Dir1.ListCount() > 0) ShowRowsThatFit(folderRows_, window);
    if (File1.ListCount() > 0) ShowRowsThatFit(linkRows_, window);
    if (TopLevel) {
        for (Control* command : {static_cast<Control*>(&labAdd), static_cast<Control*>(&labOrganise),
                                 static_cast<Control*>(&picSpacer)})
            command->SetVisible(static_cast<float>(command->Top()) >= window.T);
    }
}

void FrmFavMenu::labScroll_MouseMove() {
    picMenuBack_MouseMove();
    ScrollMenu();
}

void FrmFavMenu::labScrollUp_MouseMove() {
    picMenuBack_MouseMove();
    ScrollMenuUp();
}
