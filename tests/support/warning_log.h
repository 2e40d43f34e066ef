#pragma once

#include <glib.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// Collects the warnings and critical messages that GLib, GTK and Pango log while
// it lives; they still reach the usual output. One at a time.
class WarningLog {
public:
    WarningLog() {
        static std::once_flag installed;
        std::call_once(installed, [] { g_log_set_writer_func(&Write, nullptr, nullptr); });
        const std::lock_guard lock(Mutex());
        Active() = this;
    }
    ~WarningLog() {
        const std::lock_guard lock(Mutex());
        Active() = nullptr;
    }
    WarningLog(const WarningLog&) = delete;
    WarningLog& operator=(const WarningLog&) = delete;

    std::vector<std::string> Messages() const {
        const std::lock_guard lock(Mutex());
        return messages_;
    }

private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static WarningLog*& Active() {
        static WarningLog* active = nullptr;
        return active;
    }

    static GLogWriterOutput Write(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data) {
        if (level & (G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL)) {
            const std::lock_guard lock(Mutex());
            if (Active())
                for (gsize i = 0; i < count; ++i)
                    if (std::string_view(fields[i].key) == "MESSAGE") {
                        const auto* text = static_cast<const char*>(fields[i].value);
                        Active()->messages_.push_back(fields[i].length < 0 ? std::string(text)
                                                                           : std::string(text, fields[i].length));
                    }
        }
        return g_log_writer_default(level, fields, count, data);
    }

    std::vector<std::string> messages_;
};

}  // namespace testing_support
