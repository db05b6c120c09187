#pragma once

class Session;

// The session of the running program: the one process-wide state, kept here
// only. It serves the free functions that windows call in their old shape
// (Messages::show, reportRuntimeError and withErrorPath without a session,
// logMessage, programFolder, ProgramEnd::endProgram). The core is handed its
// Session; only the page maker's procedures still report an unexpected
// failure through withErrorPath without a session, and so through this one.

// The installed session. Ends the process with a message on standard error
// when there is none (a program whose main() installed none).
Session& programSession();

// Installs a session as the program's for as long as it lives; the one
// installed before comes back when it goes. Only a main() (and the test
// scope of tests/support) installs one.
class ProgramSessionInstallation {
public:
    explicit ProgramSessionInstallation(Session& session);
    ~ProgramSessionInstallation();
    ProgramSessionInstallation(const ProgramSessionInstallation&) = delete;
    ProgramSessionInstallation& operator=(const ProgramSessionInstallation&) = delete;

private:
    Session* m_before;
};
