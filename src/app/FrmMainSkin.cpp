#include "app/Forms.h"
#include "app/State.h"
#include "common/General.h"
#include "platform/error.h"

using namespace platform;

void FrmMain::LoadSkin(const std::string& SkinPath) {
    // The address list first; a failure ends this step alone.
    Combo1.Clear();
    Try([this] {
        General::LineReader file(DataFile("autocomplete.dat"));
        while (!file.AtEnd()) Combo1.AddItem(file.ReadLine());
    });
    (void)SkinPath;
}
