#pragma once

#include <string>

#include "platform/combobox.h"
#include "platform/control_array.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/picturebox.h"
#include "platform/timer.h"
#include "platform/webbrowser.h"

// The main window: a borderless face drawn from the skin, the tabs with their
// browsers, and the hidden lists that the program uses as shared string lists.
class FrmMain : public platform::Form {
public:
    FrmMain();

    // Start-up and settings.
    void LoadIni();
    void LoadSkin(const std::string& SkinPath);
    void GetCookies();
    void SaveComplete();
    void RemoveAllTabs();

    // Layout and tabs.
    void ResizeForm();
    void MaxiWindow();
    void UpdateBrowsers();
    void UpdateTabs();
    void SetAddressText();

    // Title bar.
    platform::PictureBox Picture4;
    platform::Label labCaption;

    // Toolbar with the address bar.
    platform::PictureBox CoolBar1;
    platform::ComboBox Combo1;

    // Busy animation: Picture3 shows one of the frames PicStore(0) to PicStore(8).
    platform::PictureBox Picture3;
    platform::ControlArray<platform::PictureBox> PicStore{"PicStore"};

    // Tabs: browser area, strip and the three arrays that share an index.
    platform::PictureBox Picture1;
    platform::PictureBox Picture2;
    platform::ControlArray<platform::WebBrowser> WebBrowser1{"WebBrowser1"};
    platform::ControlArray<platform::PictureBox> picTab{"picTab"};
    platform::ControlArray<platform::Timer> Timer1{"Timer1"};

    // Status bar.
    platform::PictureBox Picture10;
    platform::Label StatusBar1;
    platform::PictureBox picProgress;

    platform::Timer Timer2;  // busy animation
    platform::Timer Timer3;  // tab captions and title

    // Hidden lists.
    platform::ListBox lstFilter{true};
    platform::ListBox lstCookies;
    platform::ListBox lstMenu;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Activate() override;
    void Form_GotFocus() override;
    void Form_Unload(int& Cancel) override;

private:
    void CreateFace();
    void CreateTabs();

    void Timer1_Timer(int Index);
    void Timer2_Timer();
    void Timer3_Timer();
    void WebBrowser1_DownloadBegin(int Index);
    void WebBrowser1_TitleChange(int Index);
    void WebBrowser1_DocumentComplete(int Index);
};
