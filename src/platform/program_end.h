#pragma once

// The one place where the windows end the program. What "end" means is the
// program session's (SessionServices): the desktop program, command-line
// tools and tests each decide. The core ends through Session::endProgram.
namespace ProgramEnd {

// Ends the program through the session's end service; never returns (a
// service that returns is followed by exiting with status 1).
[[noreturn]] void endProgram();

} // namespace ProgramEnd
