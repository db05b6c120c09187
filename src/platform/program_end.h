#pragma once

// The one place where the program ends. What "end" means is the current
// session's (SessionServices): the desktop program, command-line tools and
// tests each decide.
namespace ProgramEnd {

// Ends the program through the session's end service; never returns (a
// service that returns is followed by exiting with status 1).
[[noreturn]] void endProgram();

} // namespace ProgramEnd
