#pragma once

#include <string>

// Text read from a file, made fit for a caption: bytes that are no UTF-8 become
// U+FFFD and control characters (tabs, line breaks, escapes) become blanks. A
// caption is drawn as it stands, never read as markup.
std::string PlainText(const std::string& text);
