#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

// A run-time error of the toolkit or the platform: a number, a description and
// the source that raised it. Faults of the program itself are never of this type.
class ToolkitError : public std::runtime_error {
public:
    ToolkitError(int number, std::string description, std::string source = "Quellin");

    int Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }

    // The same error re-raised by a procedure that puts its own name before the source.
    ToolkitError WithSourcePrefix(const std::string& procedure) const;

private:
    int number_;
    std::string description_;
    std::string source_;
};

// The toolkit's own error numbers used by this program.
namespace errors {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int CannotCreateObject = 429;
inline constexpr int ControlArrayElementMissing = 340;
inline constexpr int ControlArrayElementExists = 360;
inline constexpr int CannotUnloadDesignTimeControl = 362;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int ObjectNotResponding = -2147417848;
}  // namespace errors

// Writes a toolkit error that the program swallowed to GLib's debug log (domain
// "Quellin", shown with G_MESSAGES_DEBUG=all), so that a failure in the field can be found.
void LogSwallowedError(const ToolkitError& error);

// Runs one statement, swallowing a toolkit error: the body of a procedure in which
// every failing statement is skipped is a sequence of these.
template <typename Statement>
bool Try(Statement&& statement) {
    try {
        std::forward<Statement>(statement)();
        return true;
    } catch (const ToolkitError& error) {
        LogSwallowedError(error);
        return false;
    }
}

// Runs each statement in order; a statement that raises a toolkit error is skipped.
template <typename... Statements>
void SkipFailures(Statements&&... statements) {
    (Try(std::forward<Statements>(statements)), ...);
}

}  // namespace platform
