#pragma once

#include <string>
#include <string_view>

// Text put into the pages that the program writes itself.
namespace HtmlText {

// The text with every character that HTML gives a meaning (&, <, >, ") written as a
// character reference, so that it shows as written in element content and in a
// double-quoted attribute value and can never open markup of its own. CR and LF
// become references too, so the text stays on the one line it is written on.
std::string Escape(std::string_view text);

}  // namespace HtmlText
