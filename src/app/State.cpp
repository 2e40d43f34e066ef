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

std::string SkinFolder;
std::int16_t HistoryInNewTab = 0;
std::int16_t SearchInNewTab = 0;
std::string SearchPage;
std::string DefaultPage;
std::int16_t PopupMode = 0;
std::int16_t FastPaint = 0;
std::int16_t NewTabMode = 0;
std::int16_t NoAutoComplete = 0;
std::int16_t CookieTrapMode = 0;

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
    SkinFolder.clear();
    HistoryInNewTab = 0;
    SearchInNewTab = 0;
    SearchPage.clear();
    DefaultPage.clear();
    PopupMode = 0;
    FastPaint = 0;
    NewTabMode = 0;
    NoAutoComplete = 0;
    CookieTrapMode = 0;
    MenuHighlightColour = 0;
    MenuTextColour = 0;
    MenuHighlightTextColour = 0;
    TabTextColour = 0;
    TabTextDisabledColour = 0;
    StatusTextColour = 0;
    ProgressBarColour = 0;
}
