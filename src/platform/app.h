#pragma once

#include <functional>
#include <string>

#include "platform/command_line.h"

namespace platform {

// Starts the toolkit. The command line is everything after the program's name,
// its arguments joined by blanks as the shell handed them over.
void Init(int argc, char** argv);
const std::string& Command();

// The folder of the executable, without a trailing separator.
std::string AppPath();

// Tests give the program a folder and a command line of their own.
void SetAppPathForTesting(std::string folder);
void SetCommandForTesting(std::string command);

// Runs the events already pending, then returns.
void DoEvents();

// Runs the message loop until End.
void Run();

// Ends the program at once: no further handler of any window runs.
void End();
bool Ended();
// Tests replace the process exit with their own action.
void SetEndAction(std::function<void()> action);

// While a HandlerBlock lives, events and timer ticks are held back from the
// program's handlers (the layer waits for the engine in a nested loop).
bool HandlersBlocked();
class HandlerBlock {
public:
    HandlerBlock();
    ~HandlerBlock();
    HandlerBlock(const HandlerBlock&) = delete;
    HandlerBlock& operator=(const HandlerBlock&) = delete;
};

// Runs a handler of the program now, or, while handlers are blocked, as soon as
// they are released. Every event the layer delivers goes through here.
void Dispatch(std::function<void()> handler);

// Runs the default main context until done() is true or timeoutMs passes;
// program handlers do not run meanwhile. Returns done().
bool WaitWithoutHandlers(const std::function<bool()>& done, int timeoutMs = 10000);

}  // namespace platform
