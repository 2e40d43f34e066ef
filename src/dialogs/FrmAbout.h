#pragma once

#include <cstdint>
#include <string>

#include "platform/button.h"
#include "platform/form.h"
#include "platform/label.h"

// The about box: the program's name, version and description, its notices, a
// web page and an e-mail address, and a button that starts the desktop's
// system-information program.
class FrmAbout : public platform::Form {
public:
    FrmAbout();

    // Starts the system-information program, or says that there is none.
    void StartSysInfo();
    // Reads a value of the key store into KeyVal; false (and "") when it holds none.
    bool GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

    platform::Label lblTitle;
    platform::Label lblVersion;
    platform::Label lblDescription;
    platform::Label Label2;  // distribution terms
    platform::Label Label3;  // disclaimer
    platform::Label Label1;  // ownership
    platform::Label Label4;  // web page
    platform::Label Label5;  // e-mail
    platform::CommandButton cmdOK;
    platform::CommandButton cmdSysInfo;

protected:
    void Form_Deactivate() override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label4_Click();
    void Label5_Click();
};
