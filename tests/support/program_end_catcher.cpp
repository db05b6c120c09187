#include "support/program_end_catcher.h"

#include "platform/program_end.h"
#include "platform/text_files.h"
#include "runtime/error_handler.h"

ProgramEndCatcher::ProgramEndCatcher()
{
    resetFatalReportForTesting();
    ProgramEnd::setEndHook([this] {
        ++m_endCount;
        throw ProgramEnded{};
    });
}

ProgramEndCatcher::~ProgramEndCatcher()
{
    ProgramEnd::setEndHook({});
    ProgramEnd::setUnloadWindowsHook({});
    TextFiles::closeAll();
    resetFatalReportForTesting();
}

bool endsProgram(const std::function<void()>& body)
{
    try {
        body();
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}
