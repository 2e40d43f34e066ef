#include "dialogs/FrmOptions.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "app/BuiltinSkin.h"
#include "app/FrmMain.h"
#include "app/Forms.h"
#include "app/State.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmFilter.h"
#include "common/General.h"
#include "dialogs/Dialogs.h"
#include "dialogs/PlainText.h"
#include "platform/error.h"
#include "platform/focus_keeper.h"
#include "platform/msgbox.h"
#include "platform/picture.h"

using namespace platform;

std::int16_t SkinNeedsRestart = 0;

void ResetOptionsState() { SkinNeedsRestart = 0; }

namespace {

const char* const BuiltinSkinName = "Default";
const char* const BuiltinSkinFolder = "default";
const char* const BuiltinSkinDescription = "Default Quellin Skin. Included with Version 0.6a onwards.";

void PlaceLabel(Label& label, Container& container, double top, double height, const std::string& caption) {
    Place(label, container, 120, top, 3975, height);
    label.SetTransparent(true);
    label.SetCaption(caption);
}

template <typename Captioned>
void PlaceCaptioned(Captioned& control, Container& container, double top, double height, const std::string& caption) {
    Place(control, container, 240, top, 3855, height);
    control.SetCaption(caption);
}

void PlaceFrame(Frame& frame, Container& page, double left, double top, double width, double height,
                const std::string& caption) {
    Place(frame, page, left, top, width, height);
    frame.SetCaption(caption);
}

// A skin folder value ("skins\name") as a path in the program folder.
std::string SkinPath(const std::string& folderValue) {
    std::string folder = folderValue;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return AppPath + "/" + folder;
}

}  // namespace

FrmOptions::FrmOptions()
    : Form(FormStyle{.borderless = false, .showInTaskbar = false, .resizable = false, .toolWindow = true}) {
    SetCaption("Quellin Options");
    SetWidth(4695);
    SetHeight(4665);

    Place(SSTab1, *this, 120, 120, 4455, 3975);
    const char* const captions[] = {"Tab Options", "Defaults", "Misc", "Skins", "Clear", "Cookies"};
    for (int tab = 0; tab < 6; ++tab) SSTab1.SetTabCaption(tab, captions[tab]);
    BuildTabOptionsPage();
    BuildDefaultsPage();
    BuildMiscPage();
    BuildSkinsPage();
    BuildClearPage();
    BuildCookiesPage();
    BuildHiddenControls();

    Place(Command2, *this, 2280, 4200, 1095, 375);
    Command2.SetCaption("Ok");
    Command2.SetDefault(true);
    Command2.Click = [this] { Command2_Click(); };
    Place(Command1, *this, 3480, 4200, 1095, 375);
    Command1.SetCaption("Cancel");
    Command1.SetCancel(true);
    Command1.Click = [this] { Command1_Click(); };
}

void FrmOptions::BuildTabOptionsPage() {
    Container& page = SSTab1.Page(0);
    PlaceFrame(Frame1, page, 120, 480, 4215, 1455, "New Tab");
    PlaceLabel(Label1, Frame1, 270, 405, "Select the URL used each time a new tab is created:");
    PlaceCaptioned(Option1, Frame1, 720, 285, "Start at tab default URL");
    PlaceCaptioned(Option2, Frame1, 1050, 285, "Start at same URL as current tab");
    PlaceFrame(Frame2, page, 120, 2055, 4215, 1095, "Search && History");
    PlaceCaptioned(Check1, Frame2, 330, 285, "Open history in a new tab");
    PlaceCaptioned(Check2, Frame2, 660, 285, "Open search in a new tab");
}

void FrmOptions::BuildDefaultsPage() {
    Container& page = SSTab1.Page(1);
    PlaceFrame(Frame3, page, 120, 480, 4215, 1935, "Tab default URL");
    PlaceLabel(Label2, Frame3, 270, 255, "Select the default URL for new tabs:");
    PlaceCaptioned(Option3, Frame3, 570, 285, "Internet options default home page");
    PlaceCaptioned(Option4, Frame3, 870, 285, "Blank page");
    PlaceCaptioned(Option5, Frame3, 1170, 285, "My choice:");
    Place(Text1, Frame3, 480, 1470, 3495, 300);
    for (OptionButton* option : {&Option3, &Option4, &Option5}) option->Click = [this] { DefaultPageOption_Click(); };
    PlaceFrame(Frame4, page, 120, 2535, 4215, 1095, "Search");
    PlaceLabel(Label3, Frame4, 300, 255, "Search site URL:");
    Place(Text2, Frame4, 240, 600, 3735, 300);
}

void FrmOptions::BuildMiscPage() {
    Container& page = SSTab1.Page(2);
    PlaceFrame(Frame5, page, 120, 480, 4215, 1815, "Popups");
    PlaceLabel(Label4, Frame5, 270, 255, "Open 'popup' windows in:");
    PlaceCaptioned(Option8, Frame5, 570, 285, "a new tab");
    PlaceCaptioned(Option7, Frame5, 870, 285, "a new window");
    PlaceCaptioned(Option6, Frame5, 1170, 285, "do not open");
    PlaceCaptioned(Option9, Frame5, 1470, 285, "ask me what to do each time");
    PlaceFrame(Frame6, page, 120, 2415, 4215, 1215, "Screen Painting");
    PlaceLabel(Label5, Frame6, 270, 405,
               "Using fast screen painting can help when resizing the browser on slow computers.");
    PlaceCaptioned(Check3, Frame6, 780, 285, "Use fast screen refresh when resizing");
}

void FrmOptions::BuildSkinsPage() {
    Container& page = SSTab1.Page(3);
    PlaceFrame(Frame7, page, 120, 480, 1815, 3255, "Skins");
    Place(List1, Frame7, 120, 300, 1575, 2790);
    List1.Click = [this] { List1_Click(); };
    PlaceFrame(Frame8, page, 2040, 480, 2295, 1425, "Preview");
    Place(Image1, Frame8, 120, 240, 2055, 1095);
    Image1.SetBorder(true);
    PlaceFrame(Frame10, page, 2040, 1950, 2295, 540, "Skin Name");
    Place(Label6, Frame10, 120, 225, 2055, 255);
    PlaceFrame(Frame9, page, 2040, 2535, 2295, 1200, "Description");
    Place(Label7, Frame9, 120, 240, 1935, 855);
    for (Label* label : {&Label6, &Label7}) label->SetTransparent(true);
}

void FrmOptions::BuildClearPage() {
    Container& page = SSTab1.Page(4);
    PlaceFrame(Frame11, page, 120, 480, 4215, 1335, "History");
    PlaceLabel(Label8, Frame11, 270, 405, "Click the button below to clear ALL items from the history log.");
    Place(Command3, Frame11, 240, 780, 1095, 375);
    Command3.SetCaption("Clear");
    Command3.Click = [this] { Command3_Click(); };
    PlaceFrame(Frame12, page, 120, 1935, 4215, 1755, "Address Bar");
    PlaceLabel(Label9, Frame12, 270, 405,
               "Click the button below to clear ALL auto complete items from the address bar.");
    Place(Command4, Frame12, 240, 780, 1095, 375);
    Command4.SetCaption("Clear");
    Command4.Click = [this] { Command4_Click(); };
    PlaceCaptioned(Check4, Frame12, 1305, 285, "Do not use auto complete");
}

void FrmOptions::BuildCookiesPage() {
    Container& page = SSTab1.Page(5);
    PlaceFrame(Frame13, page, 120, 480, 4215, 3435, "Cookie Management");
    PlaceLabel(Label10, Frame13, 270, 600,
               "Quellin will retain cookies placed on your computer for the duration of the current browser "
               "session.");
    PlaceLabel(Label11, Frame13, 900, 405,
               "When Quellin closes down you have the option to perform one of the following tasks:");
    PlaceCaptioned(Option10, Frame13, 1395, 285, "Do not remove any newly added cookies");
    PlaceCaptioned(Option11, Frame13, 1710, 600,
                   "Automatically remove all cookies added during the session without any confirmation");
    PlaceCaptioned(Option12, Frame13, 2340, 420, "Show me a list of new cookies and I will confirm the ones to remove");
    PlaceCaptioned(Option13, Frame13, 2790, 585, "Automatically remove cookies based on word filters");
    Option13.SetWidth(2715);
    Place(Command5, Frame13, 3015, 2895, 1095, 375);
    Command5.SetCaption("Edit Filters");
    Command5.Click = [this] { Command5_Click(); };
    for (OptionButton* option : {&Option10, &Option11, &Option12}) option->Click = [this] { Command5.SetEnabled(false); };
    Option13.Click = [this] { Command5.SetEnabled(true); };
}

void FrmOptions::BuildHiddenControls() {
    for (Control* hidden : std::initializer_list<Control*>{&List2, &labSkinTemp, &Picture1, &Dir1}) {
        hidden->PlaceIn(*this);
        hidden->SetVisible(false);
    }
    Picture1.AutoSize = true;
    Picture1.SetPicture(Picture(BuiltinSkin::Preview()));
    Image1.SetPicture(Picture1.GetPicture());
}

void FrmOptions::Form_Load() {
    CentreOnOwner(*this, frmMain.IfLoaded());
    SkipFailures(
        [&] { (Settings.NewTabMode != 0 ? Option2 : Option1).SetValue(true); },
        [&] { Check1.SetValue(Settings.HistoryInNewTab != 0 ? vbChecked : vbUnchecked); },
        [&] { Check2.SetValue(Settings.SearchInNewTab != 0 ? vbChecked : vbUnchecked); },
        [&] {
            const std::string page = General::LowerCase(Settings.DefaultPage);
            if (page == "home") {
                Option3.SetValue(true);
            } else if (page == "about:blank") {
                Option4.SetValue(true);
            } else {
                Option5.SetValue(true);
                Text1.SetText(Settings.DefaultPage);
            }
        },
        [&] { Text2.SetText(Settings.SearchPage); },
        [&] { Check3.SetValue(Settings.FastPaint != 0 ? vbChecked : vbUnchecked); },
        [&] {
            if (Settings.PopupMode >= 0 && Settings.PopupMode <= 3) PopupOptions()[Settings.PopupMode]->SetValue(true);
        },
        [&] {
            if (General::LowerCase(Settings.SkinFolder) == BuiltinSkinFolder) {
                labSkinTemp.SetCaption(BuiltinSkinFolder);
                ShowBuiltinSkin();
            } else {
                ShowSkin(Settings.SkinFolder);
            }
        },
        [&] { Dir1.SetPath(AppPath + "/skins"); });
    // The skin list: the built-in skin, then every folder of the skins folder.
    List1.AddItem(BuiltinSkinName);
    List2.AddItem(BuiltinSkinFolder);
    for (const std::string& folder : Dir1.Items()) {
        List1.AddItem(PlainText(General::ReadIni(folder + "/skin.ini", "name")));
        List2.AddItem(General::GetFileName(folder));
    }
    labSkinTemp.SetCaption(Settings.SkinFolder);
    Check4.SetValue(Settings.NoAutoComplete != 0 ? vbChecked : vbUnchecked);
    DefaultPageOption_Click();
    if (Settings.CookieTrapMode >= 0 && Settings.CookieTrapMode <= 3) CookieOptions()[Settings.CookieTrapMode]->SetValue(true);
}

// The dialog keeps the focus while it is open, unless a window of its own is over it.
void FrmOptions::Form_Deactivate() {
    if (childWindowsOpen_ == 0) TakeFocusBackFromProgramWindows(Window());
}

void FrmOptions::Tell(const std::string& prompt, int buttons, const std::string& title) {
    ++childWindowsOpen_;
    MsgBox(prompt, buttons, title);
    --childWindowsOpen_;
}

void FrmOptions::ShowBuiltinSkin() {
    Image1.SetPicture(Picture1.GetPicture());
    Label6.SetCaption(BuiltinSkinName);
    Label7.SetCaption(BuiltinSkinDescription);
}

// A folder without preview.bmp leaves the preview as it was; without skin.ini the
// name and description are empty.
void FrmOptions::ShowSkin(const std::string& folderValue) {
    const std::string folder = SkinPath(folderValue);
    Try([&] { Image1.SetPicture(LoadPicture(folder + "/preview.bmp")); });
    Label6.SetCaption(PlainText(General::ReadIni(folder + "/skin.ini", "name")));
    Label7.SetCaption(PlainText(General::ReadIni(folder + "/skin.ini", "description")));
}

void FrmOptions::List1_Click() {
    const int index = List1.ListIndex();
    if (index < 0) return;
    if (index == 0) {
        SkinNeedsRestart = General::LowerCase(Label6.Caption()) != "default" ? 1 : 0;
        labSkinTemp.SetCaption(BuiltinSkinFolder);
        ShowBuiltinSkin();
        return;
    }
    labSkinTemp.SetCaption("skins\\" + List2.List(index));
    ShowSkin(labSkinTemp.Caption());
    SkinNeedsRestart = 0;
}

void FrmOptions::DefaultPageOption_Click() {
    Text1.SetEnabled(Option5.Value());
    Text1.SetBackColor(Option5.Value() ? vbWindowBackground : vbButtonFace);
}

// The option buttons of the pop-up and cookie-trap modes, by mode 0 to 3.
std::array<OptionButton*, 4> FrmOptions::PopupOptions() { return {&Option6, &Option7, &Option8, &Option9}; }
std::array<OptionButton*, 4> FrmOptions::CookieOptions() { return {&Option10, &Option11, &Option12, &Option13}; }

SettingsFile::SettingsDialogValues FrmOptions::ControlValues() {
    SettingsFile::SettingsDialogValues values;
    values.SkinFolder = labSkinTemp.Caption();
    values.HistoryInNewTab = Check1.Value();
    values.SearchInNewTab = Check2.Value();
    values.SearchPage = Text2.Text();
    if (Option3.Value()) values.DefaultPage = "home";
    if (Option4.Value()) values.DefaultPage = "about:blank";
    if (Option5.Value()) values.DefaultPage = Text1.Text();
    for (int mode = 0; mode < 4; ++mode)
        if (PopupOptions()[mode]->Value()) values.PopupMode = mode;
    values.FastPaint = Check3.Value();
    if (Option1.Value()) values.NewTabMode = 0;
    if (Option2.Value()) values.NewTabMode = 1;
    values.NoAutoComplete = Check4.Value();
    for (int mode = 0; mode < 4; ++mode)
        if (CookieOptions()[mode]->Value()) values.CookieTrapMode = mode;
    return values;
}

void FrmOptions::SaveIni() { SettingsFile::WriteBrowserIni(DataFile("browser.ini"), ControlValues()); }

// A settings file that cannot be written is said so, and the dialog stays open
// with the user's choices.
void FrmOptions::Command2_Click() {
    try {
        SaveIni();
    } catch (const ToolkitError&) {
        Tell("The settings could not be saved.", vbOKOnly + vbExclamation, "Quellin Options");
        return;
    }
    frmMain->LoadIni();
    frmMain->ResizeForm();
    if (SkinNeedsRestart == 1) {
        Tell("You will need to restart Quellin to display the skin you have selected.", vbOKOnly + vbInformation,
             "Quellin Information");
        SkinNeedsRestart = 0;
    }
    Unload();
}

void FrmOptions::Command1_Click() { Unload(); }

// Deletes every file of the history folder; the folder stays. Files that cannot
// be deleted are counted and reported, and the others are deleted all the same.
void FrmOptions::Command3_Click() {
    const std::string folder = AppPath + "/history";
    if (!General::FolderExists(folder)) return;
    int undeleted = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_directory(error)) continue;
        if (!std::filesystem::remove(entry.path(), error)) ++undeleted;
    }
    if (undeleted > 0)
        Tell(std::to_string(undeleted) + (undeleted == 1 ? " history page" : " history pages") +
                 " could not be deleted.",
             vbOKOnly + vbExclamation, "Quellin Options");
}

// Leaves autocomplete.dat existing and empty.
void FrmOptions::Command4_Click() {
    if (!Try([] { General::WriteWholeFile(DataFile("autocomplete.dat"), ""); }))
        Tell("The address bar's list could not be cleared.", vbOKOnly + vbExclamation, "Quellin Options");
}

void FrmOptions::Command5_Click() {
    ++childWindowsOpen_;
    frmFilter->Show(vbModal);
    --childWindowsOpen_;
}
