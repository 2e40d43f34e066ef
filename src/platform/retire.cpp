#include "platform/retire.h"

#include <glib.h>

#include <vector>

namespace platform {

namespace {
int runningHandlers = 0;
// Asked for while handlers ran; due once none of them runs any more.
std::vector<std::function<void()>> waiting;
std::vector<std::function<void()>> due;
bool idleScheduled = false;

gboolean RunDueDeletions(gpointer) {
    idleScheduled = false;
    // A deletion may ask for more deletions.
    auto now = std::move(due);
    due.clear();
    for (auto& deletion : now) deletion();
    return G_SOURCE_REMOVE;
}

void MakeDue(std::function<void()> deletion) {
    due.push_back(std::move(deletion));
    if (idleScheduled) return;
    idleScheduled = true;
    g_idle_add_full(G_PRIORITY_HIGH_IDLE, RunDueDeletions, nullptr, nullptr);
}
}  // namespace

HandlerScope::HandlerScope() { ++runningHandlers; }

HandlerScope::~HandlerScope() {
    if (--runningHandlers > 0) return;
    auto released = std::move(waiting);
    waiting.clear();
    for (auto& deletion : released) MakeDue(std::move(deletion));
}

void DeleteWhenIdle(std::function<void()> deletion) {
    if (runningHandlers > 0)
        waiting.push_back(std::move(deletion));
    else
        MakeDue(std::move(deletion));
}

}  // namespace platform
