#pragma once

#include <cstdint>
#include <string>
#include <vector>

// State of the menu bar and its drop-down and favourites menus, shared by the
// main window and the menu windows.
extern std::int16_t MenuMode;
extern std::string CurrentMenu;
extern std::int16_t DropMenuOpen;
// The items of the open drop-down, one per row.
extern std::vector<std::string> MenuItems;
extern std::int16_t MenuItemIndex;
extern std::string FavMenuHoverPath;

// Puts the menu state back as the program starts with it, for tests that go on in the
// same process.
void ResetMenuState();
