#include "common/SettingsFile.h"

#include "common/Conversions.h"
#include "common/General.h"
#include "platform/error.h"

namespace SettingsFile {

namespace {

void AppendBlock(std::string& text, const char* header, const std::string& value) {
    text += header;
    text += "\r\n";
    text += General::OnOneLine(value, "");
    text += "\r\n\r\n";
}

void AppendOptionBlock(std::string& text, const char* header, const std::optional<int>& choice) {
    if (choice) AppendBlock(text, header, std::to_string(*choice));
}

}  // namespace

std::string BrowserIniText(const SettingsDialogValues& values) {
    std::string text;
    AppendBlock(text, "[Skin]", values.SkinFolder);
    AppendBlock(text, "[History]", Conversions::Str(values.HistoryInNewTab));
    AppendBlock(text, "[SearchTab]", Conversions::Str(values.SearchInNewTab));
    AppendBlock(text, "[Search]", values.SearchPage);
    if (values.DefaultPage) AppendBlock(text, "[Default]", *values.DefaultPage);
    AppendOptionBlock(text, "[Popups]", values.PopupMode);
    AppendBlock(text, "[Paint]", Conversions::Str(values.FastPaint));
    AppendOptionBlock(text, "[NewTab]", values.NewTabMode);
    AppendBlock(text, "[AutoComplete]", Conversions::Str(values.NoAutoComplete));
    AppendOptionBlock(text, "[CookieTrap]", values.CookieTrapMode);
    // The whole text goes out in one print, which ends it with one more line break.
    text += "\r\n";
    return text;
}

void WriteBrowserIni(const std::string& path, const SettingsDialogValues& values) {
    General::WriteWholeFile(path, BrowserIniText(values));
}

Settings ReadSettings(const std::string& iniPath) {
    const auto text = [&](const char* key) { return General::ReadIni(iniPath, key); };
    const auto number = [&](const char* key) { return Conversions::SettingFromText(text(key)); };
    Settings settings;
    settings.CookieTrapMode = number("cookietrap");
    settings.NewTabMode = number("newtab");
    settings.HistoryInNewTab = number("history");
    settings.SearchInNewTab = number("searchtab");
    settings.PopupMode = number("popups");
    settings.SkinFolder = text("skin");
    settings.FastPaint = number("paint");
    settings.DefaultPage = text("default");
    settings.SearchPage = text("search");
    settings.NoAutoComplete = number("autocomplete");
    return settings;
}

}  // namespace SettingsFile
