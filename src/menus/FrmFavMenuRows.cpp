// The rows of a favourites level, folder rows and link rows alike: each row is
// laid out by one routine, and its controls exist only while the row can show.
#include <algorithm>
#include <cmath>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "common/ScreenSize.h"
#include "menus/FrmFavMenu.h"

using namespace platform;

// Rows are made as far as the screen reaches; row 0 comes with the form and is
// laid out whatever its place.
void FrmFavMenu::LayOutRows(RowKind& kind, std::vector<std::string> captions) {
    kind.captions = std::move(captions);
    for (int i = 0; i < kind.Count(); ++i) {
        if (i > 0 && Top() + kind.Top(i) >= ScreenSize::MaxHeight) break;
        LayOutRow(kind, i);
    }
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

// A loaded row starts as a copy of row 0, tooltip included: it takes its own, kept
// from when it last showed, or none, so that its shortcut is read when hovered.
void FrmFavMenu::MakeRow(RowKind& kind, int i) {
    LayOutRow(kind, i);
    SizeRow(kind.labels(i));
    if (kind.arrows) PlaceArrow(i);
    const auto kept = kind.toolTips.find(i);
    kind.labels(i).SetToolTipText(kept != kind.toolTips.end() ? kept->second : "");
    if (kept != kind.toolTips.end()) kind.toolTips.erase(kept);
}

void FrmFavMenu::ShowRow(RowKind& kind, int i) {
    if (!kind.labels.Exists(i)) {
        MakeRow(kind, i);
        return;
    }
    kind.icons(i).SetVisible(true);
    kind.labels(i).SetVisible(true);
    if (kind.arrows) (*kind.arrows)(i).SetVisible(true);
}

// A row's tooltip, once read, outlasts its controls while the level is open.
void FrmFavMenu::RemoveRow(RowKind& kind, int i) {
    if (const std::string& toolTip = kind.labels(i).ToolTipText(); !toolTip.empty()) kind.toolTips[i] = toolTip;
    if (i == 0) {
        kind.icons(0).SetVisible(false);
        kind.labels(0).SetVisible(false);
        if (kind.arrows) (*kind.arrows)(0).SetVisible(false);
        return;
    }
    kind.icons.Unload(i);
    kind.labels.Unload(i);
    if (kind.arrows) kind.arrows->Unload(i);
}

bool FrmFavMenu::VisibleWindow::Fits(double top, double height) const {
    const float rowTop = static_cast<float>(top);
    return !(rowTop + static_cast<float>(height) - scrolled > B || rowTop < T);
}

void FrmFavMenu::ShowRowsThatFit(RowKind& kind, const VisibleWindow& window) {
    std::vector<int> outside;
    kind.labels.ForEach([&](Label& row, int i) {
        if (!window.Fits(row.Top(), row.Height())) outside.push_back(i);
    });
    for (int i : outside) RemoveRow(kind, i);
    // Rows lie one row height apart: only those about the window can fit.
    const double h = kind.RowHeight();
    const int last = kind.Count() - 1;
    const int from = std::clamp(static_cast<int>(std::floor((window.T - kind.Top(0)) / h)), 0, last);
    const int to = std::clamp(static_cast<int>(std::ceil((window.scrolled + window.B - kind.Top(0)) / h)), 0, last);
    for (int i = from; i <= to; ++i)
        if (window.Fits(kind.Top(i), h)) ShowRow(kind, i);
}

bool FrmFavMenu::RowShown(RowKind& kind, int i) { return kind.labels.Exists(i) && kind.labels(i).Visible(); }
