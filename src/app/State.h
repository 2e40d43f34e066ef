#pragma once

#include <cstdint>
#include <string>

#include "common/SettingsFile.h"
#include "platform/color.h"

// Module-level state of the browser window, shared by every form.

// The program folder, without a trailing separator; every data file lives in it.
extern std::string AppPath;

// Flags (1 or 0).
extern std::int16_t Starting;
extern std::string StartMaximised;  // "1" once the splash window found itself maximised
extern std::int16_t Closing;
extern std::int16_t Resizing;
extern std::int16_t IsMaximised;

// The mouse position in the control pressed last on the title bar or a grip, twips.
// 32-bit: a title bar wider than 32767 twips (2185 pixels) is pressed beyond 16 bits.
extern std::int32_t DragAnchorX;
extern std::int32_t DragAnchorY;

// The window's rectangle before the program's own maximise, in twips.
extern std::int32_t SavedWidth;
extern std::int32_t SavedHeight;
extern std::int32_t SavedTop;
extern std::int32_t SavedLeft;

extern std::int16_t CurrentTab;
extern std::int16_t BusyFrame;

// The settings of browser.ini, written only by LoadIni.
extern SettingsFile::Settings Settings;

// Skin colours.
extern platform::OleColor MenuHighlightColour;
extern platform::OleColor MenuTextColour;
extern platform::OleColor MenuHighlightTextColour;
extern platform::OleColor TabTextColour;
extern platform::OleColor TabTextDisabledColour;
extern platform::OleColor StatusTextColour;
extern platform::OleColor ProgressBarColour;

// A data file of the program folder.
std::string DataFile(const std::string& name);

// Puts every value above back as the program starts with it, for tests that go on in
// the same process.
void ResetState();
