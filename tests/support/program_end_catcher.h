#pragma once

#include <functional>

// Thrown by the test end hook in place of ending the process. It does not
// derive from std::exception, so no error path of the program catches it.
struct ProgramEnded {};

// While alive: the end hook counts and throws ProgramEnded, the fatal-report
// flag starts cleared, and every file handle is closed at the end.
class ProgramEndCatcher {
public:
    ProgramEndCatcher();
    ~ProgramEndCatcher();
    int endCount() const { return m_endCount; }

private:
    int m_endCount = 0;
};

// Runs the body and tells whether it ended the program.
bool endsProgram(const std::function<void()>& body);
