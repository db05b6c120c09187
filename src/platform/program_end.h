#pragma once

#include <functional>

// The two places where the program ends or closes all its windows go through
// replaceable hooks, so the desktop program, command-line tools and tests can
// each decide what "end" and "close every window" mean.
namespace ProgramEnd {

// Ends the program through the installed hook. The default hook exits the
// process with status 1. A hook must not return (tests throw instead); if one
// does, the process exits anyway.
[[noreturn]] void endProgram();
void setEndHook(std::function<void()> hook);

// Closes every open window through its own close handling. Does nothing until
// the desktop program installs its hook.
void unloadAllWindows();
void setUnloadWindowsHook(std::function<void()> hook);

} // namespace ProgramEnd
