#pragma once

#include <functional>
#include <memory>

namespace platform {

// Runs a deletion once the handlers now running have returned.
void DeleteWhenIdle(std::function<void()> deletion);

// An unloaded control may be unloaded by one of its own handlers: it is switched
// off and hidden at once, and deleted when the running handlers have returned.
template <typename T>
void RetireLater(std::unique_ptr<T> element) {
    if constexpr (requires { element->SetVisible(false); }) element->SetVisible(false);
    else if constexpr (requires { element->SetEnabled(false); }) element->SetEnabled(false);
    DeleteWhenIdle([raw = element.release()] { delete raw; });
}

}  // namespace platform
