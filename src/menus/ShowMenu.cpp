#include <algorithm>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "common/TileBitmapModule.h"
#include "menus/FrmMenu.h"
#include "menus/MenuModule.h"
#include "menus/MenuState.h"
#include "platform/screen.h"
#include "platform/twips.h"

using TileBitmapModule::TileBitmap;
using TileBitmapModule::TileBitmapForm;

namespace MenuModule {

namespace {
constexpr double MinimumTextWidth = 1500;
constexpr double SeparatorHeight = 120;

// The items of a menu item list: the text between commas, empty fields included.
std::vector<std::string> SplitItems(const std::string& items) {
    std::vector<std::string> split;
    std::size_t start = 0;
    for (auto comma = items.find(','); comma != std::string::npos; comma = items.find(',', start)) {
        split.push_back(items.substr(start, comma - start));
        start = comma + 1;
    }
    split.push_back(items.substr(start));
    return split;
}

// The bottom of the screen the menu drops down on, in twips.
double ScreenBottom() { return platform::PixelsToTwipsY(platform::WorkArea().bottom); }
}  // namespace

void ShowMenu(std::int32_t X, std::int32_t Y, std::string Items) {
    if (DropMenuOpen == 1) return;

    MenuItems = SplitItems(Items);

    auto& menu = frmMenu.Get();
    menu.mnuText(0).SetCaption(MenuItems[0]);
    // Rows are made only as far as the screen reaches: a list of any length opens
    // at the cost of the rows shown.
    const double bottomMargin = menu.mnuText(0).Top();
    const double room = ScreenBottom() - Y;
    int last = 0;
    for (int k = 1; k < static_cast<int>(MenuItems.size()); ++k) {
        const bool separator = MenuItems[k] == "-";
        const double top = menu.mnuText(k - 1).Top() + menu.mnuText(k - 1).Height();
        const double height = separator ? SeparatorHeight : menu.mnuText(0).Height();
        if (top + height + bottomMargin > room) break;
        menu.mnuText.Load(k);
        auto& row = menu.mnuText(k);
        row.SetCaption(MenuItems[k]);
        row.SetTop(top);
        row.ZOrder(1);
        row.SetVisible(true);
        if (separator) {
            row.SetHeight(SeparatorHeight);
            row.SetVisible(false);
        }
        last = k;
    }
    MenuItems.resize(last + 1);

    menu.SetTop(Y);
    menu.SetLeft(X);

    double W = 0;
    for (const auto& item : MenuItems) W = std::max(W, menu.TextWidth(item));
    if (W < MinimumTextWidth) W = MinimumTextWidth;

    const double margin = menu.mnuText(0).Left();
    menu.SetWidth(W + 2 * margin);
    menu.SetHeight(menu.mnuText(last).Top() + menu.mnuText(last).Height() + menu.mnuText(0).Top());
    for (int k = 0; k <= last; ++k) menu.mnuText(k).SetWidth(menu.Width() - 2 * margin);

    menu.FramePieces().Place(menu.Width(), menu.Height());

    auto& skin = frmMain->Skin;
    menu.FramePieces().Tile(skin);
    TileBitmapForm(menu, skin["picMnuBack"]);

    int n = 0;
    for (int k = 0; k <= last; ++k) {
        if (menu.mnuText(k).Caption() != "-") continue;
        auto& spacer = menu.picSpacer(n);
        spacer.Move(60, menu.mnuText(k).Top(), menu.Width() - 120, menu.mnuText(k).Height());
        TileBitmap(spacer, skin["picMnuSpacer"]);
        spacer.SetVisible(true);
        ++n;
        menu.picSpacer.Load(n);
    }

    menu.Show();
}

}  // namespace MenuModule
