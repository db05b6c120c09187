// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/session.h"
#include "support/recording_messages.h"

#include <functional>
#include <memory>

// Thrown by the test session's end service in place of ending the process. It
// does not derive from std::exception, so no error path of the program catches it.
struct ProgramEnded {};

// A session for one test, built from the same services the program hands in:
// messages recorded (with scripted answers), the end of the program thrown as
// ProgramEnded and counted, and what the test gives in options. A test hands
// session() to the object under test; building one installs nothing, so each
// test starts with no files open, no log and no fatal report begun.
class TestSession {
public:
    struct Options {
        QString programFolder;                    // empty: the test program's folder
        std::optional<ImageToolChoice> imageTool; // empty: no image tool
        std::function<void()> closeAllWindows;
        fileio::FailureHook fileFaults;
        RecordingMessages* messages = nullptr; // another recorder (not owned); nullptr: this session's own
    };
    TestSession() : TestSession(Options()) {}
    explicit TestSession(Options options);

    // The messages of this session (another recorder when the options named one).
    RecordingMessages& messages;
    int endCount() const { return m_endCount; }
    Session& session() { return *m_session; }
    ~TestSession();
    // The test session made last of those alive: the one whose boundary
    // endsProgram() stands in for.
    static TestSession* current();

private:
    TestSession* m_before = nullptr;
    RecordingMessages m_ownMessages;
    int m_endCount = 0;
    std::unique_ptr<Session> m_session;
};

// Runs the body as a command of the current test session and tells whether
// it ended the program: a failure leaving the body becomes the fatal report,
// as at the boundary of a window command or a tool's main.
bool endsProgram(const std::function<void()>& body);
// The same with a session of the test's own making.
bool endsProgram(Session& session, const std::function<void()>& body);

// The number of the RuntimeError the body raises; 0 when it raises none.
int raisedNumber(const std::function<void()>& body);
