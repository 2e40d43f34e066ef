#pragma once

#include <string>

#include "app/State.h"
#include "program_fixture.h"

// The program started on tab 0's page, with helpers to open and inspect tabs.
class TabsFixture : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start("http://127.0.0.1/zero");
        Browser(0).Load("http://127.0.0.1/zero", "Zero");
        Main().Timer1_Timer(0);
    }

    FrmMain& Main() { return frmMain.Get(); }

    // Opens tabs until the highest index is `upper`; each gets a page of its own.
    // With `poll`, each tab's page-load timer has seen its page finish.
    void OpenTabsUpTo(int upper, bool poll = false) {
        while (Main().WebBrowser1.UBound() < upper) {
            const std::string number = std::to_string(Main().WebBrowser1.UBound() + 1);
            Main().AddTab("http://127.0.0.1/tab" + number);
            Browser(CurrentTab).Load("http://127.0.0.1/tab" + number, "Tab " + number);
            if (poll) Main().Timer1_Timer(CurrentTab);
        }
    }

    bool TabGone(int index) {
        return !Main().WebBrowser1.Exists(index) && !Main().picTab.Exists(index) && !Main().Timer1.Exists(index);
    }
};
