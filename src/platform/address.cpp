#include "platform/address.h"

#include <glib.h>

#include <cctype>

namespace platform {

namespace {
// Whether the text begins with a scheme: a "host:port" is no scheme.
bool HasScheme(const std::string& address) {
    gchar* scheme = g_uri_parse_scheme(address.c_str());
    if (!scheme) return false;
    const std::size_t afterColon = std::string(scheme).size() + 1;
    g_free(scheme);
    return afterColon >= address.size() || !std::isdigit(static_cast<unsigned char>(address[afterColon]));
}
}  // namespace

std::string UriForAddress(const std::string& address) {
    if (g_path_is_absolute(address.c_str())) {
        gchar* uri = g_filename_to_uri(address.c_str(), nullptr, nullptr);
        if (!uri) return address;
        std::string result = uri;
        g_free(uri);
        return result;
    }
    if (address.empty() || HasScheme(address)) return address;
    return "http://" + address;
}

}  // namespace platform
