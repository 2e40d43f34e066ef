#pragma once

#include <glibmm/main.h>

#include <functional>
#include <string>
#include <vector>

#include "../app/program_fixture.h"
#include "app/State.h"
#include "cookies/CookieForms.h"
#include "platform/msgbox.h"

// The program started on an in-memory URL cache, with helpers for the cookie windows.
class CookieTest : public ProgramTest {
protected:
    void TearDown() override {
        platform::SetMsgBoxResponder(nullptr);
        for (auto& watch : watches) watch.disconnect();
    }

    static std::string Cookie(const std::string& domainAndPath) { return "Cookie:me@" + domainAndPath; }

    void AddCookies(const std::vector<std::string>& domainsAndPaths) {
        for (const auto& name : domainsAndPaths) urlCache->Add(Cookie(name));
    }

    std::vector<std::string> CacheNames() {
        std::vector<std::string> names;
        for (const auto& entry : urlCache->Entries()) names.push_back(entry.SourceUrlName);
        return names;
    }

    // Message boxes are answered with `answer` and recorded.
    void AnswerMessages(int answer) {
        platform::SetMsgBoxResponder([this, answer](const std::string& prompt, int buttons, const std::string& title) {
            messages.push_back({prompt, buttons, title});
            return answer;
        });
    }

    // Runs `action` once the window is loaded and visible: a modal window's test
    // acts from inside its loop.
    template <typename Slot>
    void WhenShown(Slot& slot, std::function<void()> action) {
        watches.push_back(Glib::signal_timeout().connect(
            [&slot, action] {
                if (!slot.Loaded() || !slot->Visible()) return true;
                action();
                return false;
            },
            10));
    }

    struct Message {
        std::string prompt;
        int buttons;
        std::string title;
    };
    std::vector<Message> messages;
    std::vector<sigc::connection> watches;
};
