#pragma once

#include <glib-object.h>
#include <glib.h>

#include <memory>
#include <string>

// Owners for what GLib hands over: each frees its object with GLib's own call
// when it goes out of scope.
namespace platform {

struct GFreeDeleter {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct GErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};

using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter>;

// The text of a string GLib allocated, which is freed; "" for none.
inline std::string TakeGString(gchar* text) {
    const GCharPtr owner(text);
    return owner ? std::string(owner.get()) : std::string();
}

}  // namespace platform
