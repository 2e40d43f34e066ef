#define G_LOG_DOMAIN "Quellin"

#include "platform/error.h"

#include <glib.h>

namespace platform {

ToolkitError::ToolkitError(int number, std::string description, std::string source)
    : std::runtime_error(description), number_(number), description_(std::move(description)),
      source_(std::move(source)) {}

ToolkitError ToolkitError::WithSourcePrefix(const std::string& procedure) const {
    return ToolkitError(number_, description_, procedure + "::" + source_);
}

void LogSwallowedError(const ToolkitError& error) {
    g_debug("Run-time error %d skipped: %s (source %s)", error.Number(), error.Description().c_str(),
            error.Source().c_str());
}

}  // namespace platform
