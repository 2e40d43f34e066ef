#include "platform/retire.h"

#include <glib.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {
struct PendingDeletion {
    int askedAtDepth;
    std::function<void()> deletion;
};

int runningHandlers = 0;
std::vector<PendingDeletion> pending;
bool idleScheduled = false;

// Due once the handler that asked has returned; asked outside any handler, at once.
bool Due(const PendingDeletion& entry) { return entry.askedAtDepth == 0 || runningHandlers < entry.askedAtDepth; }

gboolean RunDueDeletions(gpointer) {
    idleScheduled = false;
    auto firstDue = std::stable_partition(pending.begin(), pending.end(), [](const auto& entry) { return !Due(entry); });
    std::vector<PendingDeletion> due(std::make_move_iterator(firstDue), std::make_move_iterator(pending.end()));
    pending.erase(firstDue, pending.end());
    // A deletion may ask for more deletions.
    for (auto& entry : due) entry.deletion();
    return G_SOURCE_REMOVE;
}

void ScheduleDueDeletions() {
    if (idleScheduled || std::none_of(pending.begin(), pending.end(), Due)) return;
    idleScheduled = true;
    g_idle_add_full(G_PRIORITY_HIGH_IDLE, RunDueDeletions, nullptr, nullptr);
}
}  // namespace

HandlerScope::HandlerScope() { ++runningHandlers; }

HandlerScope::~HandlerScope() {
    --runningHandlers;
    ScheduleDueDeletions();
}

void DeleteWhenIdle(std::function<void()> deletion) {
    pending.push_back({runningHandlers, std::move(deletion)});
    ScheduleDueDeletions();
}

}  // namespace platform
