#pragma once

// The two places where the program ends or closes all its windows. What "end"
// and "close every window" mean is the current session's (SessionServices):
// the desktop program, command-line tools and tests each decide.
namespace ProgramEnd {

// Ends the program through the session's end service; never returns (a
// service that returns is followed by exiting with status 1).
[[noreturn]] void endProgram();

// Closes every open window through its own close handling.
void unloadAllWindows();

} // namespace ProgramEnd
