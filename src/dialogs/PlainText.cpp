#include "dialogs/PlainText.h"

#include <glib.h>

#include "platform/text.h"

std::string PlainText(const std::string& text) {
    const std::string valid = platform::DisplayText(text);
    std::string plain;
    for (const gchar* p = valid.c_str(); *p; p = g_utf8_next_char(p)) {
        if (g_unichar_iscntrl(g_utf8_get_char(p)))
            plain += ' ';
        else
            plain.append(p, static_cast<std::size_t>(g_utf8_next_char(p) - p));
    }
    return plain;
}
