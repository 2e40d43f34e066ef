#pragma once

// Starts the program: loading the start object, the splash window, runs the whole
// start-up. A start-up that fails is reported on standard error and, for a user who
// started the program from a desktop menu and reads no standard error, in a message
// box; false then.
bool StartUp();
