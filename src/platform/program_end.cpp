#include "platform/program_end.h"

#include "platform/session.h"

namespace ProgramEnd {

void endProgram() { Session::current().endProgram(); }

void unloadAllWindows() { Session::current().closeAllWindows(); }

} // namespace ProgramEnd
