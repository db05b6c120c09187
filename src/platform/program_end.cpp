#include "platform/program_end.h"

#include "platform/session.h"

namespace ProgramEnd {

void endProgram() { Session::current().endProgram(); }

} // namespace ProgramEnd
