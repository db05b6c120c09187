#include "platform/program_end.h"

#include "platform/program_session.h"
#include "platform/session.h"

namespace ProgramEnd {

void endProgram() { programSession().endProgram(); }

} // namespace ProgramEnd
