#include "common/HtmlText.h"

namespace HtmlText {

std::string Escape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\r': escaped += "&#13;"; break;
            case '\n': escaped += "&#10;"; break;
            default: escaped += ch;
        }
    }
    return escaped;
}

}  // namespace HtmlText
