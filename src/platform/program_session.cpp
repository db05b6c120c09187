#include "platform/program_session.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

Session* g_programSession = nullptr;

} // namespace

Session& programSession()
{
    if (!g_programSession) {
        std::fputs("ZEL: no session: the program installed none before its work\n", stderr);
        std::abort();
    }
    return *g_programSession;
}

ProgramSessionInstallation::ProgramSessionInstallation(Session& session)
    : m_before(std::exchange(g_programSession, &session))
{}

ProgramSessionInstallation::~ProgramSessionInstallation() { g_programSession = m_before; }
