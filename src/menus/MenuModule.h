#pragma once

#include <cstdint>
#include <string>

// Procedures shared by the menus and the main window.
namespace MenuModule {

// Rebuilds frmMain.lstMenu from the live tabs and closes the gaps between their faces.
void ArrangeTabs();

// Opens the drop-down menu at screen twips X, Y with the rows of a menu item list:
// captions joined by commas, "-" a separator row (unless first). Does nothing while
// a drop-down is open. Positions are 32-bit: a title far right or down on a large
// desktop still gets its menu under it.
void ShowMenu(std::int32_t X, std::int32_t Y, std::string Items);

// Runs the chosen item of a drop-down, given its lower-cased caption.
void MenuCommand(const std::string& Item);

// The windows that menu commands open.
void ShowLaunchEditor();
void ShowOptions();
void ShowAbout();
void ShowCookies();

}  // namespace MenuModule
