#pragma once

#include <string>
#include <string_view>

// Text as the controls hold it: bytes, normally UTF-8, though a file written on
// another system may hold bytes that are not. Such text is kept as it is and only
// turned into valid UTF-8 where it is shown or compared.
namespace platform {

// The text with every byte that is not valid UTF-8 shown as U+FFFD.
std::string DisplayText(std::string_view text);

// The case-folded form that sorted lists compare ("Abc" and "aBC" fold alike).
std::string FoldCase(std::string_view text);

}  // namespace platform
