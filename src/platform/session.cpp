// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/session.h"

#include "base/folder_path.h"
#include "platform/messages.h"
#include "platform/problem.h"

#include <QCoreApplication>
#include <QDir>
#include <exception>

Session::Session(SessionServices services)
    : m_services(std::move(services)), m_textFiles(std::make_unique<TextFiles::Table>(&m_services.fileFaults)),
      m_imageTool(m_services.imageTool)
{
    setProgramFolder(m_services.programFolder);
    if (!m_services.messages) {
        m_standardError = std::make_unique<StandardErrorMessageBoxes>();
        m_services.messages = m_standardError.get();
    }
}

Session::~Session()
{
    dropAllStaged();
    m_textFiles.reset();
}

void Session::setProgramFolder(const QString& folder)
{
    m_programFolder = withTrailingSeparator(
        QDir::toNativeSeparators(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder));
}

MessageBoxes& Session::messages() { return *m_services.messages; }

const ImageToolChoice& Session::imageTool(ProblemSink* lookupProblems)
{
    if (!m_imageTool) {
        ProblemBoxes boxes(messages());
        m_imageTool = lookUpImageTool(m_programFolder, lookupProblems ? *lookupProblems : boxes);
    }
    return *m_imageTool;
}

void Session::endProgram()
{
    if (m_services.endProgram)
        m_services.endProgram();
    // No end service, or one that returned: the host that runs this work
    // decides what its end means.
    throw ProgramEnd{};
}

void Session::closeAllWindows()
{
    if (m_services.closeAllWindows)
        m_services.closeAllWindows();
}

void Session::commitCompleteStaged()
{
    for (fileio::DeferredReplacements* staged : m_staged)
        staged->commitCompleteAndDropRest();
}

void Session::tellWatchers()
{
    const std::vector<FatalReportWatcher*> watchers = m_watchers;
    for (auto watcher = watchers.rbegin(); watcher != watchers.rend(); ++watcher)
        (*watcher)->beforeFatalReport();
}

void Session::closeAllFiles()
{
    m_textFiles->closeAll();
    dropAllStaged();
}

void Session::dropAllStaged()
{
    for (fileio::DeferredReplacements* staged : m_staged)
        staged->drop();
}

StagedReplacements::StagedReplacements(Session& session)
    : fileio::DeferredReplacements(session.fileFaults()), m_session(session)
{
    m_session.addStaged(this);
}

StagedReplacements::~StagedReplacements()
{
    m_session.removeStaged(this);
    // Left by a failure on its way to the fatal report: what the owner marked
    // complete is kept, as the report would keep it.
    if (std::uncaught_exceptions() > 0)
        commitCompleteAndDropRest();
}
