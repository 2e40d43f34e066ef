#pragma once

#include <optional>
#include <string>
#include <vector>

#include "../app/tabs_fixture.h"
#include "menus/FrmMenu.h"
#include "menus/MenuState.h"
#include "platform/common_dialog.h"
#include "platform/msgbox.h"

// The program started with browser doubles; message boxes and file dialogs are
// answered by the test and recorded.
class MenusFixture : public TabsFixture {
protected:
    void SetUp() override {
        platform::SetMsgBoxResponder([this](const std::string& prompt, int, const std::string&) {
            messages.push_back(prompt);
            return msgBoxAnswer;
        });
        platform::SetFileDialogResponder([this](const platform::FileDialogRequest& request) {
            dialogs.push_back(request);
            return dialogAnswer;
        });
        TabsFixture::SetUp();
    }

    void TearDown() override {
        platform::SetMsgBoxResponder(nullptr);
        platform::SetFileDialogResponder(nullptr);
    }

    // The rows of the open drop-down, "" when none is open.
    std::string OpenMenuRows() {
        auto* menu = frmMenu.IfLoaded();
        if (!menu) return "";
        std::string rows;
        for (int k = 0; k <= menu->mnuText.UBound(); ++k) rows += (k ? "," : "") + menu->mnuText(k).Caption();
        return rows;
    }

    // Chooses the row of the open drop-down that has the caption.
    void Choose(const std::string& caption) {
        auto& menu = *frmMenu.IfLoaded();
        for (int k = 0; k <= menu.mnuText.UBound(); ++k) {
            if (menu.mnuText(k).Caption() == caption) {
                menu.mnuText_Click(k);
                return;
            }
        }
        ADD_FAILURE() << "no row " << caption << " in " << OpenMenuRows();
    }

    // Opens a menu as the user does: a click on a title, then the pointer moves on it.
    template <typename Click, typename Hover>
    void Open(Click click, Hover hover) {
        (Main().*click)();
        (Main().*hover)();
    }

    std::vector<std::string> messages;
    int msgBoxAnswer = platform::vbOK;
    std::vector<platform::FileDialogRequest> dialogs;
    std::optional<std::string> dialogAnswer;
};
