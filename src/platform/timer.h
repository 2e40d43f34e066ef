#pragma once

#include <functional>
#include <memory>

namespace platform {

// A timer: ticks every Interval ms while Enabled and the interval is not 0.
// Switching on a timer that already runs does not restart its count. Ticks run
// on the UI thread between other handlers, or inside DoEvents and modal loops.
class Timer {
public:
    Timer() = default;
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Interval() const { return interval_; }
    // Raises ToolkitError 380 for a negative interval.
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    void CopySettingsFrom(const Timer& other);

    std::function<void()> Tick;

    struct Source;

private:
    void Restart();
    void Stop();

    int interval_ = 0;
    bool enabled_ = true;
    std::shared_ptr<Source> source_;
    unsigned sourceId_ = 0;
};

}  // namespace platform
