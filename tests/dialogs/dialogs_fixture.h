#pragma once

#include <gtkmm/button.h>

#include <string>
#include <vector>

#include "../app/program_fixture.h"
#include "platform/button.h"
#include "platform/msgbox.h"

// The program started on a folder of its own, with every message box answered
// by the test and recorded as "title: prompt".
class DialogTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        platform::SetMsgBoxResponder([this](const std::string& prompt, int, const std::string& title) {
            messages.push_back(title + ": " + prompt);
            return platform::vbOK;
        });
    }
    void TearDown() override { platform::SetMsgBoxResponder(nullptr); }

    // Presses a button the way the user's click does, and lets its handler run.
    static void Press(platform::CommandButton& button) {
        static_cast<Gtk::Button&>(button.Widget()).clicked();
        platform::DoEvents();
    }

    std::vector<std::string> messages;
};
