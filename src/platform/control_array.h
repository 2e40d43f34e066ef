#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/error.h"
#include "platform/retire.h"

namespace platform {

// A control array: elements by index, with holes that stay. Element 0 comes with
// the form; a loaded element starts as a copy of element 0's settings. Reaching a
// missing element raises the toolkit's error 340.
template <typename T>
class ControlArray {
public:
    // Prepares each element as it is made (placing it, binding its handlers to its index).
    using Setup = std::function<void(T& element, int index)>;

    explicit ControlArray(std::function<std::unique_ptr<T>()> make = [] { return std::make_unique<T>(); })
        : make_(std::move(make)) {}

    // Makes element 0, as the form's design does.
    void Create(Setup setup) {
        setup_ = std::move(setup);
        Insert(0);
    }

    T& operator()(int index) {
        auto it = elements_.find(index);
        if (it == elements_.end())
            throw ToolkitError(errors::ControlArrayElementMissing,
                               "Control array element '" + std::to_string(index) + "' doesn't exist");
        return *it->second;
    }

    bool Exists(int index) const { return elements_.count(index) != 0; }

    void Load(int index) {
        if (index < 0 || index > 32767) throw ToolkitError(errors::SubscriptOutOfRange, "Subscript out of range");
        if (Exists(index)) throw ToolkitError(errors::ControlArrayElementExists, "Object already loaded");
        T& element = Insert(index);
        element.CopySettingsFrom((*this)(0));
    }

    void Unload(int index) {
        if (index == 0)
            throw ToolkitError(errors::CannotUnloadDesignTimeControl, "Can't unload controls created at design time");
        auto it = elements_.find(index);
        if (it == elements_.end())
            throw ToolkitError(errors::ControlArrayElementMissing,
                               "Control array element '" + std::to_string(index) + "' doesn't exist");
        auto element = std::move(it->second);
        elements_.erase(it);
        // An event of the element held back until now finds it gone.
        if constexpr (requires { element->StopEvents(); }) element->StopEvents();
        RetireLater(std::move(element));
    }

    int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
    int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int Count() const { return static_cast<int>(elements_.size()); }

    // Loaded indexes in ascending order.
    template <typename F>
    void ForEach(F&& f) {
        for (auto& [index, element] : elements_) f(*element, index);
    }

private:
    T& Insert(int index) {
        auto element = make_();
        T& ref = *element;
        elements_[index] = std::move(element);
        if (setup_) setup_(ref, index);
        return ref;
    }

    std::function<std::unique_ptr<T>()> make_;
    Setup setup_;
    std::map<int, std::unique_ptr<T>> elements_;
};

}  // namespace platform
