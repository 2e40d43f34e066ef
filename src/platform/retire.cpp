#include "platform/retire.h"

#include <glib.h>

namespace platform {

void DeleteWhenIdle(std::function<void()> deletion) {
    auto* pending = new std::function<void()>(std::move(deletion));
    g_idle_add_full(
        G_PRIORITY_HIGH_IDLE,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        pending, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

}  // namespace platform
