#pragma once

#include <functional>
#include <memory>

namespace platform {

// Marks a handler of the program as running. Handlers run one inside another
// (a handler that calls DoEvents or shows a modal form runs others).
class HandlerScope {
public:
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
};

// Runs a deletion at idle time once the handlers now running have all returned:
// never in a nested loop (DoEvents, a modal show) that one of them runs.
void DeleteWhenIdle(std::function<void()> deletion);

// Deletes the object at idle time, as above. The waiting deletion owns it, so that
// it goes even when the program ends first.
template <typename T>
void DeleteWhenIdle(std::unique_ptr<T> object) {
    DeleteWhenIdle([owned = std::shared_ptr<T>(std::move(object))]() mutable { owned.reset(); });
}

// An unloaded control may be unloaded by one of its own handlers: it is switched
// off and hidden at once, and deleted when the running handlers have returned.
template <typename T>
void RetireLater(std::unique_ptr<T> element) {
    if constexpr (requires { element->SetVisible(false); }) element->SetVisible(false);
    else if constexpr (requires { element->SetEnabled(false); }) element->SetEnabled(false);
    DeleteWhenIdle(std::move(element));
}

}  // namespace platform
