#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/SettingsFile.h"
#include "platform/button.h"
#include "platform/checkbox.h"
#include "platform/dirlistbox.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/optionbutton.h"
#include "platform/picturebox.h"
#include "platform/tabcontrol.h"
#include "platform/textbox.h"

// 1 when the built-in skin was picked while another skin's name was shown: the
// main window keeps the pictures of the skin it has until the program starts again.
// Read and cleared only by the options dialog's OK; it outlives the dialog.
extern std::int16_t SkinNeedsRestart;

// Forgets a restart still to be asked for, as the program starts, for tests that go
// on in the same process.
void ResetOptionsState();

// The options dialog: shows the settings of browser.ini on six pages, writes them
// back with OK and has the main window apply them at once.
class FrmOptions : public platform::Form {
public:
    FrmOptions();

    // Writes browser.ini from the controls.
    void SaveIni();

    platform::TabControl SSTab1{6};
    platform::CommandButton Command1;  // Cancel
    platform::CommandButton Command2;  // Ok

    // Tab Options
    platform::Frame Frame1;
    platform::Label Label1;
    platform::OptionButton Option1;
    platform::OptionButton Option2;
    platform::Frame Frame2;
    platform::CheckBox Check1;
    platform::CheckBox Check2;

    // Defaults
    platform::Frame Frame3;
    platform::Label Label2;
    platform::OptionButton Option3;
    platform::OptionButton Option4;
    platform::OptionButton Option5;
    platform::TextBox Text1;
    platform::Frame Frame4;
    platform::Label Label3;
    platform::TextBox Text2;

    // Misc
    platform::Frame Frame5;
    platform::Label Label4;
    platform::OptionButton Option8;
    platform::OptionButton Option7;
    platform::OptionButton Option6;
    platform::OptionButton Option9;
    platform::Frame Frame6;
    platform::Label Label5;
    platform::CheckBox Check3;

    // Skins
    platform::Frame Frame7;
    platform::ListBox List1;
    platform::Frame Frame8;
    platform::Image Image1;
    platform::Frame Frame10;
    platform::Label Label6;
    platform::Frame Frame9;
    platform::Label Label7;

    // Clear
    platform::Frame Frame11;
    platform::Label Label8;
    platform::CommandButton Command3;
    platform::Frame Frame12;
    platform::Label Label9;
    platform::CommandButton Command4;
    platform::CheckBox Check4;

    // Cookies
    platform::Frame Frame13;
    platform::Label Label10;
    platform::Label Label11;
    platform::OptionButton Option10;
    platform::OptionButton Option11;
    platform::OptionButton Option12;
    platform::OptionButton Option13;
    platform::CommandButton Command5;

    // Hidden
    platform::ListBox List2;
    platform::Label labSkinTemp;
    platform::PictureBox Picture1;
    platform::DirListBox Dir1;

protected:
    void Form_Load() override;
    void Form_Deactivate() override;

private:
    void BuildTabOptionsPage();
    void BuildDefaultsPage();
    void BuildMiscPage();
    void BuildSkinsPage();
    void BuildClearPage();
    void BuildCookiesPage();
    void BuildHiddenControls();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void DefaultPageOption_Click();
    void List1_Click();

    // Shows the skin of a folder value ("skins\name") in the preview and labels.
    void ShowSkin(const std::string& folderValue);
    void ShowBuiltinSkin();
    std::array<platform::OptionButton*, 4> PopupOptions();
    std::array<platform::OptionButton*, 4> CookieOptions();
    SettingsFile::SettingsDialogValues ControlValues();
    // A message box of the dialog; the dialog leaves the focus to it meanwhile.
    void Tell(const std::string& prompt, int buttons, const std::string& title);

    int childWindowsOpen_ = 0;
};
