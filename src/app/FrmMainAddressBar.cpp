#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/AutoComplete.h"
#include "common/General.h"
#include "platform/error.h"
#include "platform/msgbox.h"

using namespace platform;

// Writes the address list to autocomplete.dat, one entry a line in list order.
// The file is replaced whole or not at all; a failure is raised to the caller.
// A list that could not be read at start-up is left as it is.
void FrmMain::SaveComplete() {
    if (addressListUnreadable_) return;
    std::string text;
    for (const auto& address : Combo1.Items()) text += address + "\r\n";
    General::WriteWholeFile(DataFile("autocomplete.dat"), text);
}

std::string FrmMain::SaveCompleteFailure() {
    try {
        SaveComplete();
        return addressListUnreadable_ ? "It could not be read when Quellin started, so it was left as it was." : "";
    } catch (const ToolkitError& error) {
        return error.Description();
    }
}

void FrmMain::TellAddressListNotSaved(const std::string& reason) {
    MsgBox("The address list could not be saved to " + DataFile("autocomplete.dat") + ".\n\n" + reason,
           vbExclamation);
}

void FrmMain::SaveCompleteOrTell() {
    const std::string reason = SaveCompleteFailure();
    if (!reason.empty()) TellAddressListNotSaved(reason);
}

void FrmMain::SaveCompleteWhileClosing() {
    const std::string reason = SaveCompleteFailure();
    if (reason.empty() || addressListLossReported_) return;
    addressListLossReported_ = true;
    TellAddressListNotSaved(reason);
}

// Opens the address text, exactly as typed, in the current tab.
void FrmMain::Combo1_Click() {
    Picture3.SetPicture(PicStore(0).GetPicture());
    WebBrowser1(CurrentTab).Navigate(Combo1.Text());
    Timer1(CurrentTab).SetEnabled(true);
}

// Enter keeps a new address in the list and opens whatever was typed.
void FrmMain::Combo1_KeyPress(int KeyAscii) {
    if (KeyAscii != vbKeyReturn) return;
    const std::string address = Combo1.Text();
    if (!address.empty() && !AutoComplete::Contains(Combo1.Items(), address)) Combo1.AddItem(address);
    Combo1_Click();
}

// Completes the typed text from the list, selecting the completed tail so that
// the next key typed replaces it. Keys that remove text never complete.
void FrmMain::Combo1_KeyUp(int KeyCode, int /*Shift*/) {
    if (Settings.NoAutoComplete == 1) return;
    switch (KeyCode) {
        case vbKeyReturn: case vbKeyBack: case vbKeyShift: case vbKeyClear: case vbKeyDelete: return;
        default: break;
    }
    const auto completion = AutoComplete::Complete(Combo1.Items(), Combo1.Text());
    if (!completion) return;
    Combo1.SetText(Combo1.List(static_cast<int>(completion->index)));
    Combo1.SetSelStart(completion->selStart);
    Combo1.SetSelLength(completion->selLength);
}
