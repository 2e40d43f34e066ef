// The rows of a favourites level, folder rows and link rows alike, each laid out
// by one routine.
#include "app/Forms.h"
#include "app/FrmMain.h"
#include "menus/FrmFavMenu.h"

using namespace platform;

void FrmFavMenu::LayOutRows(RowKind& kind, std::vector<std::string> captions) {
    kind.captions = std::move(captions);
    for (int i = 0; i < kind.Count(); ++i) LayOutRow(kind, i);
}

void FrmFavMenu::LayOutRow(RowKind& kind, int i) {
    if (i > 0) {
        kind.labels.Load(i);
        kind.icons.Load(i);
    }
    Label& row = kind.labels(i);
    row.SetCaption(kind.captions[i]);
    row.SetTop(kind.Top(i));
    row.SetVisible(true);
    PictureBox& icon = kind.icons(i);
    icon.SetLeft(90);
    icon.SetPicture(frmMain->Skin[kind.iconPicture].GetPicture());
    icon.SetTop(row.Top());
    icon.SetVisible(true);
}

// Row labels start at their margin and run to the level's right edge.
void FrmFavMenu::SizeRow(Label& row) {
    row.SetWidth(Width());
    row.SetForeColor(FavMenuTextColour);
}

void FrmFavMenu::PlaceArrow(int i) {
    if (i > 0) picArrow.Load(i);
    PictureBox& arrow = picArrow(i);
    arrow.SetPicture(frmMain->Skin["picArrow"].GetPicture());
    arrow.SetTop(labFolder(i).Top());
    arrow.SetLeft(Width() - 90 - arrow.Width());
    arrow.SetVisible(true);
}

bool FrmFavMenu::VisibleWindow::Fits(double top, double height) const {
    const float rowTop = static_cast<float>(top);
    return !(rowTop + static_cast<float>(height) - scrolled > B || rowTop < T);
}

void FrmFavMenu::ShowRowsThatFit(RowKind& kind, const VisibleWindow& window) {
    kind.labels.ForEach([&](Label& row, int i) {
        const bool shown = window.Fits(row.Top(), row.Height());
        kind.icons(i).SetVisible(shown);
        row.SetVisible(shown);
        if (kind.arrows) (*kind.arrows)(i).SetVisible(shown);
    });
}
