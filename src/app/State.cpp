#include "app/State.h"

std::string AppPath;

std::int16_t Starting = 0;
std::string StartMaximised;
std::int16_t Closing = 0;
std::int16_t Resizing = 0;
std::int16_t IsMaximised = 0;

std::int32_t DragAnchorX = 0;
std::int32_t DragAnchorY = 0;

std::int32_t SavedWidth = 0;
std::int32_t SavedHeight = 0;
std::int32_t SavedTop = 0;
std::int32_t SavedLeft = 0;

std::int16_t CurrentTab = 0;
std::int16_t BusyFrame = 0;

SettingsFile::Settings Settings;

platform::OleColor MenuHighlightColour = 0;
platform::OleColor MenuTextColour = 0;
platform::OleColor MenuHighlightTextColour = 0;
platform::OleColor TabTextColour = 0;
platform::OleColor TabTextDisabledColour = 0;
platform::OleColor StatusTextColour = 0;
platform::OleColor ProgressBarColour = 0;

std::string DataFile(const std::string& name) { return AppPath + "/" + name; }

void ResetState() {
    AppPath.clear();
    Starting = 0;
    StartMaximised.clear();
    Closing = 0;
    Resizing = 0;
    IsMaximised = 0;
    DragAnchorX = 0;
    DragAnchorY = 0;
    SavedWidth = 0;
    SavedHeight = 0;
    SavedTop = 0;
    SavedLeft = 0;
    CurrentTab = 0;
    BusyFrame = 0;
    Settings = {};
    MenuHighlightColour = 0;
    MenuTextColour = 0;
    MenuHighlightTextColour = 0;
    TabTextColour = 0;
    TabTextDisabledColour = 0;
    StatusTextColour = 0;
    ProgressBarColour = 0;
}
