#pragma once

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/label.h"

// The closing-down window: shown while the program ends with the cookie trap on.
// Its load runs the closing-down check, which deals with the cookies that the
// browser session added as CookieTrapMode says and then ends the program.
class FrmCleanup : public platform::Form {
public:
    FrmCleanup();

    // Compares a fresh scan with the baseline of start-up and applies the mode:
    // 1 removes every new cookie, 3 every cookie holding a filter word, any other
    // value shows the new cookies for confirmation. Ends the program, directly or
    // through the new-cookies window.
    void CheckCookies();
    // Deletes every new cookie that the check found.
    void RemoveAllCooks();
    // Deletes every cookie of the cache whose name contains a filter word.
    void RemoveFilters();

    platform::Label Label1;
    platform::Label Label2;

protected:
    void Form_Load() override;

private:
    std::vector<std::string> newCookies_;
};
