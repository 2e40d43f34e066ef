#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/combobox.h"
#include "platform/common_dialog.h"
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
    // Lists the cookie entries of the URL cache in lstCookies; false (and the list
    // empty) when the cache could not be read.
    bool GetCookies();
    void SaveComplete();
    // SaveComplete that never raises: a list it could not write is reported, naming
    // the file and the reason.
    void SaveCompleteOrTell();
    // SaveComplete on the way out: closing goes on whatever happens, and a list
    // that could not be saved is reported once, however many close routes save.
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
    // Makes the history pages take the moment (seconds since 1970, read in the local
    // time zone) for now, as a test cannot set the clock; nullopt gives the clock back.
    static void SetHistoryNowForTesting(std::optional<std::int64_t> UnixSeconds);

    // Favourites: the shell's organise and add dialogs; each returns when its dialog closes.
    void ShowOrgFavs();
    void AddToFavorites();

    // Title bar.
    platform::PictureBox Picture4;
    platform::Image Image1;
    platform::Label labCaption;
    platform::PictureBox picMin;
    platform::PictureBox picMax;
    platform::PictureBox picClose;

    // Menu bar with its seven titles, and the busy animation: Picture3 shows one of
    // the frames PicStore(0) to PicStore(8).
    platform::PictureBox Picture9;
    platform::Label mnuFile;  // File
    platform::Label Label1;   // Edit
    platform::Label Label2;   // View
    platform::Label labFavs;  // Favourites
    platform::Label Label3;   // Launch
    platform::Label Label5;   // Tabs
    platform::Label Label4;   // Help
    platform::PictureBox Picture3;
    platform::ControlArray<platform::PictureBox> PicStore;

    // Toolbar with its buttons and the address bar.
    platform::PictureBox CoolBar1;
    platform::ControlArray<platform::PictureBox> picButton;
    platform::ComboBox Combo1;

    // Tabs: the strip, its arrows, the browser area and the three arrays that share an index.
    platform::PictureBox Picture2;
    platform::PictureBox picTabLeft;
    platform::PictureBox picTabRight;
    platform::PictureBox Picture1;
    platform::ControlArray<platform::WebBrowser> WebBrowser1;
    platform::ControlArray<platform::PictureBox> picTab;
    platform::ControlArray<platform::Timer> Timer1;

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
    // filter.dat was there but could not be read: the filter editor never writes over it.
    bool FilterListUnreadable = false;
    platform::ListBox lstCookies;
    // Whether lstCookies got the start-up scan: without it every cookie would look new at exit.
    bool BaselineTaken = false;
    platform::ListBox lstMenu;
    platform::ListBox lstLaunchNames;
    platform::ListBox lstLaunchRun;
    platform::ListBox lstTabList;
    platform::ListBox lstSorted{true};
    platform::FileListBox File1{"*.htm"};

    // The file dialog of the local-page and tab-layout commands; it keeps the last name.
    platform::CommonDialog CommonDialog1;

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

    // Menu bar.
    void mnuFile_Click();
    void Label1_Click();
    void Label2_Click();
    void labFavs_Click();
    void Label3_Click();
    void Label5_Click();
    void Label4_Click();
    void mnuFile_MouseMove();
    void Label1_MouseMove();
    void Label2_MouseMove();
    void labFavs_MouseMove();
    void Label3_MouseMove();
    void Label5_MouseMove();
    void Label4_MouseMove();
    void CoolBar1_MouseMove();
    void Picture9_MouseMove();

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
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;

private:
    // The path of a shell special folder, "" when the shell cannot give it.
    std::string GetFolderPath(const std::int32_t& FolderId);
    // Opens the favourites menu's top level below the favourites title, or gives it the focus.
    void OpenFavourites();
    void CreateFace();
    void CreateTabs();
    void CreateToolbar();
    void CreateMenuBar();
    // Opens the drop-down of a title in menu mode, closing another title's drop-down.
    void DropMenuFromTitle(platform::Label& Title, const std::string& Key, const std::function<std::string()>& BuildItems);
    std::string TabsMenuItems();
    // The screen position, in twips, just below a title of the menu bar.
    std::int32_t MenuLeftUnder(const platform::Label& Title);
    std::int32_t MenuTopUnder(const platform::Label& Title);
    void WireWindowControls();
    void WireBrowserEvents(platform::WebBrowser& browser, int index);
    // A page-load poll found the browser of the tab dead.
    void RemoveDeadTab(int Index);
    void ResizeWithGrip(bool ChangesWidth, bool ChangesHeight, int Button, double X, double Y);
    void FitFrameToWorkArea();
    // The right edge of the highest-index face in window coordinates.
    float TabStripEnd();
    // The tab strip's Left at rest; scrolling moves it left from here by whole face widths.
    static constexpr int TabStripRestingLeft = 80;

    // Runs SaveComplete: why the list was not written, "" when it was.
    std::string SaveCompleteFailure();
    void TellAddressListNotSaved(const std::string& reason);

    bool addressListLossReported_ = false;
    // autocomplete.dat was there but could not be read: it is never written over.
    bool addressListUnreadable_ = false;
};
