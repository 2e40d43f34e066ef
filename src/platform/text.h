#pragma once

#include <string>
#include <string_view>

// Text as the controls hold it: bytes, normally UTF-8, though a file written on
// another system may hold bytes that are not. Such text is kept as it is and only
// turned into valid UTF-8 where it is shown or compared.
namespace platform {

// The text with every byte that is not valid UTF-8 shown as U+FFFD.
std::string DisplayText(std::string_view text);

// The most characters one line of the screen shows: more than the widest screen
// holds in the smallest type.
inline constexpr long ScreenLineChars = 1000;

// The text as one line of the screen shows it (a caption, a title, a tooltip, a
// row): as DisplayText, cut after ScreenLineChars characters with an ellipsis.
// Only the start of the text is read, however long the text is.
std::string ScreenLine(std::string_view text);

// The most lines that text of several lines shows.
inline constexpr long ScreenTextLines = 50;

// Text of several lines (split at LF or CR LF) as the screen shows it: every line as
// ScreenLine shows it, and no more than ScreenTextLines of them, the last of which
// is an ellipsis when more lines followed. Only the start of each line is read.
std::string ScreenText(std::string_view text);

// The case-folded form that sorted lists compare ("Abc" and "aBC" fold alike).
std::string FoldCase(std::string_view text);

}  // namespace platform
