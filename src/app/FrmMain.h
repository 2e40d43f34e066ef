#pragma once

#include <string>

#include "platform/combobox.h"
#include "platform/control_array.h"
#include "platform/filelistbox.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/picturebox.h"
#include "platform/timer.h"
#include "platform/webbrowser.h"
#include "app/SkinPictureSet.h"

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
    // SaveComplete on the way out: closing goes on whatever happens, and a list
    // that could not be saved is reported once.
    void SaveCompleteWhileClosing();
    void RemoveAllTabs();

    // Layout and tabs.
    void ResizeForm();
    void MaxiWindow();
    void AddTab(const std::string& Address);
    void DelTab();
    void UpdateBrowsers();
    void UpdateTabs();

    // Navigation.
    void ClickBar(const std::string& Caption);
    void ResetButtons(int Code);
    void ResetMenus(platform::Label& Lbl);
    void ButtonDown(int Index);
    void SetAddressText();

    // History pages.
    void UpDateHistory(int Index);
    void OpenHistory();

    // Title bar.
    platform::PictureBox Picture4;
    platform::Image Image1;
    platform::Label labCaption;
    platform::PictureBox picMin;
    platform::PictureBox picMax;
    platform::PictureBox picClose;

    // Menu bar and busy animation: Picture3 shows one of the frames PicStore(0) to PicStore(8).
    platform::PictureBox Picture9;
    platform::PictureBox Picture3;
    platform::ControlArray<platform::PictureBox> PicStore{"PicStore"};

    // Toolbar with its buttons and the address bar.
    platform::PictureBox CoolBar1;
    platform::ControlArray<platform::PictureBox> picButton{"picButton"};
    platform::ComboBox Combo1;

    // Tabs: the strip, its arrows, the browser area and the three arrays that share an index.
    platform::PictureBox Picture2;
    platform::PictureBox picTabLeft;
    platform::PictureBox picTabRight;
    platform::PictureBox Picture1;
    platform::ControlArray<platform::WebBrowser> WebBrowser1{"WebBrowser1"};
    platform::ControlArray<platform::PictureBox> picTab{"picTab"};
    platform::ControlArray<platform::Timer> Timer1{"Timer1"};

    // Status bar.
    platform::PictureBox Picture10;
    platform::Label StatusBar1;
    platform::PictureBox picProgress;

    // Edges and corners; Picture5, Picture6 and Picture7 are the resize grips.
    platform::PictureBox Picture5;
    platform::PictureBox Picture6;
    platform::PictureBox Picture7;
    platform::PictureBox Picture8;
    platform::PictureBox Picture12;
    platform::PictureBox Picture13;
    platform::PictureBox Picture14;

    // The current skin's pictures, by picture-box name ("picLeft", "TabRightHi"...).
    SkinPictureSet Skin;

    platform::Timer Timer2;      // busy animation
    platform::Timer Timer3;      // tab captions and title
    platform::Timer TimerMenus;  // resets the highlights after ten idle seconds
    platform::Label labDummy;    // stands for no menu title at all

    // Hidden lists.
    platform::ListBox lstFilter{true};
    platform::ListBox lstCookies;
    platform::ListBox lstMenu;
    platform::ListBox lstSorted{true};
    platform::FileListBox File1{"*.htm"};

    // Event handlers.
    void Combo1_Click();
    void Combo1_KeyPress(int KeyAscii);
    void Combo1_KeyUp(int KeyCode, int Shift);
    void WebBrowser1_NewWindow2(int Index, platform::BrowserView*& ppDisp, bool& Cancel);
    void WebBrowser1_DownloadBegin(int Index);
    void WebBrowser1_StatusTextChange(int Index, const std::string& Text);
    void WebBrowser1_ProgressChange(int Index, long Progress, long ProgressMax);
    void WebBrowser1_TitleChange(int Index);
    void WebBrowser1_DocumentComplete(int Index);
    void WebBrowser1_OnQuit(int Index);
    void Timer1_Timer(int Index);
    void Timer2_Timer();
    void Timer3_Timer();
    void TimerMenus_Timer();

    void picButton_Click(int Index);
    void picButton_MouseDown(int Index);
    void picButton_MouseMove(int Index, int Button);
    void picTab_Click(int Index);
    void picTab_MouseMove(int Index);
    void picTab_OLEDragDrop(int Index, const std::string& Data);
    void picTabLeft_Click();
    void picTabLeft_MouseMove();
    void picTabRight_Click();
    void picTabRight_MouseMove();
    void Picture2_MouseMove();

    // The title bar Picture4 and the title text labCaption share these.
    void Picture4_MouseDown(double X, double Y);
    void Picture4_MouseMove(int Button, double X, double Y);
    void Picture4_DblClick();
    // The grips: Picture5 both ways, Picture6 the width, Picture7 the height.
    void Picture5_MouseMove(int Button, double X, double Y);
    void Picture6_MouseMove(int Button, double X, double Y);
    void Picture7_MouseMove(int Button, double X, double Y);
    void Picture5_MouseUp();
    void picMax_Click();
    void picMin_Click();
    void picClose_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Activate() override;
    void Form_GotFocus() override;
    void Form_Unload(int& Cancel) override;

private:
    void CreateFace();
    void CreateTabs();
    void CreateToolbar();
    void WireWindowControls();
    void WireBrowserEvents(platform::WebBrowser& browser, int index);
    // A page-load poll found the browser of the tab dead.
    void RemoveDeadTab(int Index);
    void ResizeWithGrip(bool ChangesWidth, bool ChangesHeight, int Button, double X, double Y);
    void FitFrameToWorkArea();
    // The right edge of the highest-index face in window coordinates.
    float TabStripEnd();

    bool addressListLossReported_ = false;
};
