#pragma once

// Procedures shared by the menus and the main window.
namespace MenuModule {

// Rebuilds frmMain.lstMenu from the live tabs and closes the gaps between their faces.
void ArrangeTabs();

}  // namespace MenuModule
