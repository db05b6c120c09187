// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_session.h"

#include "base/runtime_error.h"
#include "runtime/error_handler.h"

namespace {
TestSession* g_current = nullptr;
}

TestSession::TestSession(Options options) : messages(options.messages ? *options.messages : m_ownMessages)
{
    SessionServices services;
    services.messages = &messages;
    services.programFolder = options.programFolder;
    // No image tool unless one is given: pictures are copied unchanged.
    services.imageTool = options.imageTool.value_or(ImageToolChoice{});
    services.closeAllWindows = std::move(options.closeAllWindows);
    services.fileFaults = std::move(options.fileFaults);
    services.endProgram = [this] {
        ++m_endCount;
        throw ProgramEnded{};
    };
    m_session = std::make_unique<Session>(std::move(services));
    m_before = std::exchange(g_current, this);
}

TestSession::~TestSession()
{
    if (g_current == this)
        g_current = m_before;
}

TestSession* TestSession::current() { return g_current; }

bool endsProgram(Session& session, const std::function<void()>& body)
{
    try {
        try {
            body();
        } catch (const std::exception&) {
            reportCaughtFailure(session);
        }
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}

bool endsProgram(const std::function<void()>& body)
{
    if (!TestSession::current()) {
        try {
            body();
        } catch (const ProgramEnded&) {
            return true;
        }
        return false;
    }
    return endsProgram(TestSession::current()->session(), body);
}

int raisedNumber(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}
