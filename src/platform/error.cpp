#include "platform/error.h"

namespace platform {

ToolkitError::ToolkitError(int number, std::string description, std::string source)
    : std::runtime_error(description), number_(number), description_(std::move(description)),
      source_(std::move(source)) {}

ToolkitError ToolkitError::WithSourcePrefix(const std::string& procedure) const {
    return ToolkitError(number_, description_, procedure + "::" + source_);
}

}  // namespace platform
