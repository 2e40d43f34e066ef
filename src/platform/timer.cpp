#include "platform/timer.h"

#include <glib.h>

#include "platform/app.h"
#include "platform/error.h"

namespace platform {

// The GLib source outlives its timer while a tick runs or waits: a handler may
// switch off or even unload the timer that called it.
struct Timer::Source {
    Timer* owner;
    bool tickHeld = false;
};

namespace {
void RunTick(const std::shared_ptr<Timer::Source>& source) {
    if (!source->owner || !source->owner->Tick) return;
    auto tick = source->owner->Tick;
    tick();
}

gboolean Fire(gpointer data) {
    const auto& source = *static_cast<std::shared_ptr<Timer::Source>*>(data);
    // While handlers are held back, one tick waits for their release, and runs
    // then only if the timer still runs.
    if (!source->owner || source->tickHeld || Ended()) return G_SOURCE_CONTINUE;
    source->tickHeld = true;
    Dispatch([source] {
        source->tickHeld = false;
        RunTick(source);
    });
    return G_SOURCE_CONTINUE;
}

void Release(gpointer data) { delete static_cast<std::shared_ptr<Timer::Source>*>(data); }
}  // namespace

Timer::~Timer() { Stop(); }

void Timer::SetInterval(int milliseconds) {
    if (milliseconds < 0) throw ToolkitError(errors::InvalidPropertyValue, "Invalid property value");
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    Restart();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Restart();
}

void Timer::CopySettingsFrom(const Timer& other) {
    interval_ = other.interval_;
    enabled_ = false;
    SetEnabled(other.enabled_);
}

void Timer::Stop() {
    if (!source_) return;
    source_->owner = nullptr;
    g_source_remove(sourceId_);
    source_.reset();
    sourceId_ = 0;
}

void Timer::Restart() {
    Stop();
    if (enabled_ && interval_ > 0) {
        source_ = std::make_shared<Source>(Source{this});
        sourceId_ = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(interval_), Fire,
                                       new std::shared_ptr<Source>(source_), Release);
    }
}

}  // namespace platform
