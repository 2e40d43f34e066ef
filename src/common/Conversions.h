#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The toolkit's conversions between text and numbers, as the program relies on them.
namespace Conversions {

// The lenient parse: reads the number at the start of the text and ignores the rest.
// Blanks, tabs and line feeds are skipped wherever they stand ("1 2" is 12). A decimal
// number has an optional sign, digits with at most one ".", and an optional exponent
// ("E" or "D", optional sign, digits). "&H" and "&O" start a hexadecimal or octal whole
// number; one of at most four hex digits (or 0xFFFF) is a 16-bit value ("&HFFFF" is -1),
// a larger one or one followed by "&" a 32-bit value ("&HFFFF&" is 65535). Text without
// a number gives 0. Never raises: a decimal number beyond the range of a double gives
// plus or minus infinity, a hexadecimal or octal one wider than 32 bits its unsigned value.
double Val(std::string_view text);

// The nearest 16-bit integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
// Raises Overflow (6) when the rounded value lies outside -32768..32767.
std::int16_t CInt(double value);

// The 32-bit integer that the text holds. Blanks and tabs around it are allowed. The
// text is a decimal number (optional sign, digits, optional fraction and exponent;
// a fraction rounds half to even) or "&H"/"&O" with hexadecimal/octal digits, whose
// value up to 0xFFFFFFFF is taken as a bit pattern ("&H80000012" is negative).
// Raises TypeMismatch (13) for any other text, Overflow (6) beyond 32 bits.
std::int32_t CLng(std::string_view text);

// The number-to-text conversion of the toolkit for whole numbers: a blank stands
// in place of the sign of a number that is not negative (" 1", "-1").
std::string Str(long value);

// How a numeric setting of browser.ini is read: Val, then the nearest 16-bit
// integer. A hand-edited value outside -32768..32767 is clamped to that range
// rather than raising, so no settings file can stop the program from starting.
std::int16_t SettingFromText(std::string_view text);

}  // namespace Conversions
