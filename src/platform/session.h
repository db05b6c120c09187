// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"
#include "fileio/deferred_replacements.h"
#include "platform/image_tool_choice.h"
#include "text/text_files.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class MessageBoxes;
class ProblemSink;

// Work that holds what it has yet to show (a make's picture work): a fatal
// report lets it show that, and clear up, before the report itself is shown.
class FatalReportWatcher {
public:
    virtual void beforeFatalReport() = 0;

protected:
    ~FatalReportWatcher() = default;
};

// Thrown by Session::endProgram() when no end service ended the program: the
// host of the work (a tool's main, a test, a kiosk) catches it. It does not
// derive from std::exception, so no error path of the program catches it.
struct ProgramEnd {};

// What a run of the program takes from outside. The desktop program, the
// command-line tools and tests each fill one in and build their Session from it.
struct SessionServices {
    // Where every message box and question goes (not owned); nullptr writes
    // them to standard error.
    MessageBoxes* messages = nullptr;
    // The folder beside the program (Template/, zel-resample, zel-makecab);
    // empty means the folder of the running executable.
    QString programFolder;
    // Ends the program (the top of the program decides how); empty, or
    // returning, throws ProgramEnd to the host of the work.
    std::function<void()> endProgram;
    // Closes every open window through its own close handling; empty does nothing.
    std::function<void()> closeAllWindows;
    // The image tool; empty means it is looked up in the settings on first use.
    std::optional<ImageToolChoice> imageTool;
    // Asked before each file operation of an atomic replacement; a non-zero
    // answer fails that operation with that errno. Empty never fails.
    fileio::FailureHook fileFaults;
};

// The state of one run: its services, its numbered text files, its log and
// whether a fatal report has begun. main() (or a test) builds one before any
// work and hands it to the work (the kiosk system and the windows' workbench
// hold it).
class Session {
public:
    explicit Session(SessionServices services = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    MessageBoxes& messages();
    // Sends messages elsewhere (not owned) while a piece of work collects
    // them, and returns where they went before.
    MessageBoxes* setMessages(MessageBoxes* messages) { return std::exchange(m_services.messages, messages); }
    // The folder beside the program, ending with the separator.
    const QString& programFolder() const { return m_programFolder; }
    // Points the session at other programs from now on: another folder beside
    // the program, another image tool. The desktop program never does; a test
    // stands in programs of its own for part of a run.
    void setProgramFolder(const QString& folder);
    void setImageTool(const ImageToolChoice& tool) { m_imageTool = tool; }

    // The image tool: the one handed in, else looked up once (on first use),
    // a problem of the lookup reported to lookupProblems (nullptr: shown in
    // the session's message boxes).
    const ImageToolChoice& imageTool(ProblemSink* lookupProblems = nullptr);

    // Ends the program through the end service, else throws ProgramEnd; never returns.
    [[noreturn]] void endProgram();
    void closeAllWindows();

    TextFiles::Table& textFiles() { return *m_textFiles; }

    // The handle of the log opened last (0 for none); logFileNumber in the
    // configuration may change, this does not.
    int logHandle() const { return m_logHandle; }
    void setLogHandle(int handle) { m_logHandle = handle; }

    // True once a fatal report has begun; it never becomes false again.
    bool fatalReportInProgress() const { return m_fatalReport; }
    void beginFatalReport() { m_fatalReport = true; }

    // Groups of staged file replacements that a fatal report settles when the
    // program ends without unwinding: what their owner marked complete is put
    // in place (commitCompleteStaged), the rest dropped (dropAllStaged: its
    // targets keep their old content).
    void addStaged(fileio::DeferredReplacements* staged) { m_staged.insert(staged); }
    void removeStaged(fileio::DeferredReplacements* staged) { m_staged.erase(staged); }
    void commitCompleteStaged();
    void dropAllStaged();
    // Closes every numbered file and drops every staged group: unfinished
    // work keeps the old content of its targets (shutdown, the fatal report).
    void closeAllFiles();

    // Work told before a fatal report is shown, while it is registered.
    void addWatcher(FatalReportWatcher* watcher) { m_watchers.push_back(watcher); }
    void removeWatcher(FatalReportWatcher* watcher) { std::erase(m_watchers, watcher); }
    // Tells every registered watcher, the one registered last first.
    void tellWatchers();

    // The file faults every replacement of this session is made with.
    const fileio::FailureHook* fileFaults() const { return &m_services.fileFaults; }

private:
    SessionServices m_services;
    QString m_programFolder;
    std::unique_ptr<MessageBoxes> m_standardError;
    std::unique_ptr<TextFiles::Table> m_textFiles;
    std::optional<ImageToolChoice> m_imageTool;
    std::set<fileio::DeferredReplacements*> m_staged;
    std::vector<FatalReportWatcher*> m_watchers;
    int m_logHandle = 0;
    bool m_fatalReport = false;
};

// A group of staged file replacements of a session (for the pages of a make):
// made with the session's file faults and registered with it while it lives,
// so that a fatal report puts what is marked complete in place and drops the
// rest; left by a failure on its way to the report, it does the same itself.
class StagedReplacements : public fileio::DeferredReplacements {
public:
    explicit StagedReplacements(Session& session);
    ~StagedReplacements();
    StagedReplacements(const StagedReplacements&) = delete;
    StagedReplacements& operator=(const StagedReplacements&) = delete;

private:
    Session& m_session;
};
