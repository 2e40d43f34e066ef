#include "common/Conversions.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/error.h"

namespace Conversions {

namespace {

platform::ToolkitError OverflowError() {
    return platform::ToolkitError(platform::errors::Overflow, "Overflow");
}

platform::ToolkitError TypeMismatchError() {
    return platform::ToolkitError(platform::errors::TypeMismatch, "Type mismatch");
}

// The value of one digit in the radix, or -1 when the character is no such digit.
int DigitValue(char ch, int radix) {
    const int value = g_ascii_xdigit_value(ch);
    return value >= 0 && value < radix ? value : -1;
}

int RadixOfPrefix(char letter) {
    switch (letter) {
        case 'H': case 'h': return 16;
        case 'O': case 'o': return 8;
        default: return 0;
    }
}

double RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) return below + 1;
    if (fraction < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

// Walks the text as Val reads it: blanks, tabs and line feeds are stepped over.
class ValCursor {
public:
    explicit ValCursor(std::string_view text) : text_(text) {}

    // The next character that counts, or '\0' at the end of the text.
    char Peek() {
        while (position_ < text_.size() && IsSkipped(text_[position_])) ++position_;
        return position_ < text_.size() ? text_[position_] : '\0';
    }
    void Advance() { ++position_; }

private:
    static bool IsSkipped(char ch) { return ch == ' ' || ch == '\t' || ch == '\n'; }

    std::string_view text_;
    std::size_t position_ = 0;
};

// Moves the digits at the cursor onto the end of the number; returns how many.
std::size_t AppendDigits(ValCursor& cursor, std::string& number) {
    std::size_t count = 0;
    for (; g_ascii_isdigit(cursor.Peek()); ++count) {
        number += cursor.Peek();
        cursor.Advance();
    }
    return count;
}

double ValOfRadixNumber(ValCursor& cursor, int radix) {
    double total = 0;
    for (int digit = DigitValue(cursor.Peek(), radix); digit >= 0; digit = DigitValue(cursor.Peek(), radix)) {
        total = total * radix + digit;
        cursor.Advance();
    }
    if (total > 0xFFFFFFFF) return total;
    const auto bits = static_cast<std::uint32_t>(total);
    const bool longSuffix = cursor.Peek() == '&';
    if (!longSuffix && bits <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(bits));
    return static_cast<std::int32_t>(bits);
}

double ValOfDecimalNumber(ValCursor& cursor) {
    std::string number;
    if (cursor.Peek() == '-' || cursor.Peek() == '+') {
        number += cursor.Peek();
        cursor.Advance();
    }
    std::size_t mantissaDigits = AppendDigits(cursor, number);
    if (cursor.Peek() == '.') {
        number += '.';
        cursor.Advance();
        mantissaDigits += AppendDigits(cursor, number);
    }
    if (mantissaDigits == 0) return 0;

    const char marker = g_ascii_toupper(cursor.Peek());
    if (marker == 'E' || marker == 'D') {
        cursor.Advance();
        std::string exponent = "e";
        if (cursor.Peek() == '-' || cursor.Peek() == '+') {
            exponent += cursor.Peek();
            cursor.Advance();
        }
        if (AppendDigits(cursor, exponent) > 0) number += exponent;
    }
    const double value = g_ascii_strtod(number.c_str(), nullptr);
    return value == 0 ? 0.0 : value;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::int32_t CLngOfRadixNumber(std::string_view digits, int radix) {
    if (digits.empty()) throw TypeMismatchError();
    std::uint64_t value = 0;
    for (char ch : digits) {
        const int digit = DigitValue(ch, radix);
        if (digit < 0) throw TypeMismatchError();
        value = value * radix + digit;
        if (value > 0xFFFFFFFF) throw OverflowError();
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// True when the text is a decimal number as a whole: sign, digits with an
// optional fraction (at least one digit in all), then an optional exponent.
bool IsDecimalNumber(std::string_view text) {
    std::size_t at = 0;
    auto skipDigits = [&] {
        const std::size_t start = at;
        while (at < text.size() && g_ascii_isdigit(text[at])) ++at;
        return at - start;
    };
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t mantissaDigits = skipDigits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        mantissaDigits += skipDigits();
    }
    if (mantissaDigits == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (skipDigits() == 0) return false;
    }
    return at == text.size();
}

}  // namespace

double Val(std::string_view text) {
    ValCursor cursor(text);
    if (cursor.Peek() == '&') {
        cursor.Advance();
        const int radix = RadixOfPrefix(cursor.Peek());
        if (radix == 0) return 0;
        cursor.Advance();
        return ValOfRadixNumber(cursor, radix);
    }
    return ValOfDecimalNumber(cursor);
}

std::int16_t CInt(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -32768 && rounded <= 32767)) throw OverflowError();
    return static_cast<std::int16_t>(rounded);
}

std::int32_t CLng(std::string_view text) {
    const std::string_view number = TrimBlanks(text);
    if (number.size() >= 2 && number[0] == '&' && RadixOfPrefix(number[1]) != 0) {
        return CLngOfRadixNumber(number.substr(2), RadixOfPrefix(number[1]));
    }
    if (!IsDecimalNumber(number)) throw TypeMismatchError();
    const double rounded = RoundHalfEven(g_ascii_strtod(std::string(number).c_str(), nullptr));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw OverflowError();
    return static_cast<std::int32_t>(rounded);
}

std::string Str(long value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::int16_t SettingFromText(std::string_view text) {
    return CInt(std::clamp(Val(text), -32768.0, 32767.0));
}

}  // namespace Conversions
