#include "platform/program_end.h"

#include <cstdio>
#include <cstdlib>

namespace {
std::function<void()>& endHook()
{
    static std::function<void()> hook;
    return hook;
}

std::function<void()>& unloadHook()
{
    static std::function<void()> hook;
    return hook;
}
} // namespace

namespace ProgramEnd {

void endProgram()
{
    if (endHook())
        endHook()();
    std::fflush(nullptr);
    std::exit(1);
}

void setEndHook(std::function<void()> hook) { endHook() = std::move(hook); }

void unloadAllWindows()
{
    if (unloadHook())
        unloadHook()();
}

void setUnloadWindowsHook(std::function<void()> hook) { unloadHook() = std::move(hook); }

} // namespace ProgramEnd
