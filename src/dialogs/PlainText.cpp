#include "dialogs/PlainText.h"

#include <glib.h>

#include <memory>

std::string PlainText(const std::string& text) {
    const std::unique_ptr<gchar, decltype(&g_free)> valid(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())),
                                                          &g_free);
    std::string plain;
    for (const gchar* p = valid.get(); *p; p = g_utf8_next_char(p)) {
        const gunichar ch = g_utf8_get_char(p);
        if (g_unichar_iscntrl(ch))
            plain += ' ';
        else
            plain.append(p, static_cast<std::size_t>(g_utf8_next_char(p) - p));
    }
    return plain;
}
