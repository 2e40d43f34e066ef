// Scrolling of a favourites level that was cut to the screen: the container of
// the rows moves by one row per step while the frame and the arrows stay put.
#include <cmath>

#include "menus/FrmFavMenu.h"
#include "platform/error.h"

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
    Label& last = File1.ListCount() > 0 ? labMenuItem(labMenuItem.UBound()) : labFolder(labFolder.UBound());
    if (last.Visible()) {
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
    const float scrolled = std::abs(static_cast<float>(picMenuBack.Top()));
    const float T = scrolled + (labScrollUp.Visible() ? static_cast<float>(labScrollUp.Height()) : 0.0f);
    const float B = static_cast<float>(Height() - picScroll.Height());
    const auto fits = [&](const Control& row) {
        const float top = static_cast<float>(row.Top());
        return !(top + static_cast<float>(row.Height()) - scrolled > B || top < T);
    };
    if (Dir1.ListCount() > 0) {
        labFolder.ForEach([&](Label& row, int i) {
            const bool shown = fits(row);
            picFolder(i).SetVisible(shown);
            row.SetVisible(shown);
            picArrow(i).SetVisible(shown);
        });
    }
    if (File1.ListCount() > 0) {
        labMenuItem.ForEach([&](Label& row, int i) {
            const bool shown = fits(row);
            Try([&] { picLink(i).SetVisible(shown); });
            Try([&] { row.SetVisible(shown); });
        });
    }
    if (IsTopLevel()) {
        for (Control* command : {static_cast<Control*>(&labAdd), static_cast<Control*>(&labOrganise),
                                 static_cast<Control*>(&picSpacer)})
            command->SetVisible(static_cast<float>(command->Top()) >= T);
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
