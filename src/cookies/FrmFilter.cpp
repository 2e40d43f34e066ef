#include "cookies/FrmFilter.h"

#include <algorithm>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/FormFont.h"
#include "common/General.h"
#include "cookies/CookieForms.h"
#include "cookies/CookieLists.h"
#include "cookies/CookieNames.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "platform/screen.h"

using namespace platform;

namespace {
// The words stay usable when filter.dat cannot be written; saying so once is enough.
bool SaveFailureReported = false;
}  // namespace

void ResetFilterState() { SaveFailureReported = false; }

FrmFilter::FrmFilter() : Form(FormStyle{.showInTaskbar = false, .resizable = false, .controlBox = false}) {
    SetCaption("Cookie Filters");
    SetWidth(4695);
    SetHeight(4770);
    CentreOnScreen(*this);

    Frame1.PlaceIn(*this);
    Frame1.Move(120, 120, 4455, 4095);
    Frame1.SetCaption("Word Filters");
    Label1.PlaceIn(Frame1);
    Label1.Move(240, 360, 3855, 615);
    Label1.SetCaption(
        "Quellin will automatically remove any cookies placed on your machine that contain the words, or part of the "
        "words in the list below.");
    lstFilter.PlaceIn(Frame1);
    lstFilter.Move(240, 1080, 3975, 1860);
    Label2.PlaceIn(Frame1);
    Label2.Move(240, 3000, 3135, 195);
    Label2.SetCaption("Type a word in the box below and click add:");
    Text1.PlaceIn(Frame1);
    Text1.Move(240, 3240, 3975, 285);
    Command2.PlaceIn(Frame1);
    Command2.Move(1920, 3600, 1095, 375);
    Command2.SetCaption("Add");
    Command1.PlaceIn(Frame1);
    Command1.Move(3120, 3600, 1095, 375);
    Command1.SetCaption("Remove");
    Command3.PlaceIn(*this);
    Command3.Move(3360, 4320, 1215, 375);
    Command3.SetCaption("Close");

    SetFormFont(8, false, Frame1, Label1, Label2, Text1, lstFilter, Command1, Command2, Command3);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
}

void FrmFilter::Form_Load() {
    for (const auto& word : frmMain->lstFilter.Items()) lstFilter.AddItem(word);
}

// Add: a word already listed (letter case ignored) is not added again.
void FrmFilter::Command2_Click() {
    const std::string word = Text1.Text();
    if (word.empty()) return;
    const std::string lowered = General::LowerCase(word);
    const auto& words = lstFilter.Items();
    if (std::none_of(words.begin(), words.end(), [&](const std::string& listed) { return General::LowerCase(listed) == lowered; }))
        lstFilter.AddItem(word);
    SaveList();
    Text1.SetText("");
}

// Remove: the selected words go; no question is asked.
void FrmFilter::Command1_Click() {
    CookieLists::Fill(lstFilter, CookieLists::Selected(lstFilter, false));
    SaveList();
}

// Close: the program's list takes the editor's words, in its own (alphabetical) order.
void FrmFilter::Command3_Click() {
    CookieLists::Fill(frmMain->lstFilter, lstFilter.Items());
    frmFilter.Unload();
}

// A window manager that gives the editor a close button anyway: the program's
// list takes the words there too.
void FrmFilter::Form_QueryUnload(int& /*Cancel*/, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu) CookieLists::Fill(frmMain->lstFilter, lstFilter.Items());
}

void FrmFilter::SaveList() {
    std::string text;
    for (const auto& word : lstFilter.Items()) text += word + "\r\n";
    std::string reason;
    try {
        if (!frmMain->FilterListUnreadable) {
            General::WriteWholeFile(DataFile("filter.dat"), text);
            return;
        }
        reason = "it could not be read when Quellin started, so it was left as it was";
    } catch (const ToolkitError& error) {
        reason = error.Description();
    }
    if (SaveFailureReported) return;
    SaveFailureReported = true;
    MsgBox("The word filters could not be saved (" + reason + "). Quellin keeps them until it closes.",
           vbOKOnly | vbExclamation, "Cookie Filters");
}
