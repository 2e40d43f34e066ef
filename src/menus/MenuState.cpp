#include "menus/MenuState.h"

std::int16_t MenuMode = 0;
std::string CurrentMenu;
std::int16_t DropMenuOpen = 0;
std::vector<std::string> MenuItems;
std::int16_t MenuItemIndex = 0;
std::string FavMenuHoverPath;

void ResetMenuState() {
    MenuMode = 0;
    CurrentMenu.clear();
    DropMenuOpen = 0;
    MenuItems.clear();
    MenuItemIndex = 0;
    FavMenuHoverPath.clear();
}
