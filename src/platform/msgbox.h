#pragma once

#include <functional>
#include <string>

namespace platform {

inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNo = 4;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbCritical = 16;

inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// A modal message box with standard buttons; returns the button chosen.
int MsgBox(const std::string& prompt, int buttons = vbOKOnly, const std::string& title = "Quellin");

// Tests answer message boxes themselves.
using MsgBoxResponder = std::function<int(const std::string& prompt, int buttons, const std::string& title)>;
void SetMsgBoxResponder(MsgBoxResponder responder);

}  // namespace platform
