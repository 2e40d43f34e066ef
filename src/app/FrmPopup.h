#pragma once

#include <cstdint>
#include <memory>

#include "platform/button.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"

// The answer of the pop-up question: 0 while none was given (and when the window
// closed without one), 1 "In new tab", 2 "In new browser", 3 "Do not open".
extern std::int16_t PopupChoice;

// The pop-up question: asks how to open a window that a page wants to open.
// Each button records its answer in PopupChoice and unloads the window, so every
// question starts from a fresh one.
class FrmPopup : public platform::Form {
public:
    FrmPopup();

    // The answer to this question, PopupChoice as it was when the window went
    // away; it outlives the window, and a later question does not change it.
    std::shared_ptr<const std::int16_t> Answer() const { return answer_; }

    platform::PictureBox Picture1;
    platform::Label Label1;
    platform::Label Label2;
    platform::CommandButton OKButton;
    platform::CommandButton CancelButton;
    platform::CommandButton Command1;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void OKButton_Click();
    void CancelButton_Click();
    void Command1_Click();

    std::shared_ptr<std::int16_t> answer_ = std::make_shared<std::int16_t>(0);
};
