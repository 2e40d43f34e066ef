#include "platform/timer.h"

#include <glib.h>

#include "platform/app.h"
#include "platform/error.h"

namespace platform {

// The GLib source outlives its timer while a tick runs: a handler may switch off
// or even unload the timer that called it.
struct Timer::Source {
    Timer* owner;
};

namespace {
gboolean Fire(gpointer data) {
    auto* source = static_cast<Timer::Source*>(data);
    if (source->owner && source->owner->Tick && !HandlersBlocked() && !Ended()) {
        Dispatch(source->owner->Tick);
    }
    return G_SOURCE_CONTINUE;
}

void Release(gpointer data) { delete static_cast<Timer::Source*>(data); }
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
    source_ = nullptr;
    sourceId_ = 0;
}

void Timer::Restart() {
    Stop();
    if (enabled_ && interval_ > 0) {
        source_ = new Source{this};
        sourceId_ = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(interval_), Fire, source_, Release);
    }
}

}  // namespace platform
