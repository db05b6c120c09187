// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/preview_make.h"

#include "base/runtime_error.h"

namespace {

// The maker's records, one a line; anything else on the line is not ours.
QList<Finding> findingsOf(const QByteArray& output)
{
    QList<Finding> findings;
    for (const QByteArray& line : output.split('\n'))
        if (std::optional<Finding> finding = Finding::fromRecord(QString::fromLocal8Bit(line)))
            findings.append(*finding);
    sortFindings(findings);
    return findings;
}

} // namespace

PreviewMake::PreviewMake(const QString& root, QString program, QObject* parent)
    : QObject(parent), m_folder(root), m_program(std::move(program))
{}

PreviewMake::~PreviewMake() { stop(); }

bool PreviewMake::isBusy() const { return m_process || m_pending; }

void PreviewMake::request(const PreviewPage& page)
{
    if (!m_pending)
        m_pendingSince.start();
    m_pending = page;
    if (m_process) {
        // Superseded: the make of the older text is of no use any more.
        m_process->kill();
        return;
    }
    startPending();
}

void PreviewMake::startPending()
{
    if (!m_pending)
        return;
    const PreviewPage page = *std::exchange(m_pending, std::nullopt);
    m_sinceRequest = m_pendingSince;
    m_making = page;
    QString source;
    try {
        source = m_folder.prepare(page);
    } catch (const RuntimeError& error) {
        emit failed(error.description());
        return;
    }
    m_process = new QProcess(this);
    m_process->setProgram(m_program);
    m_process->setArguments({QStringLiteral("--problems"), m_folder.kioskFolder(), source});
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &PreviewMake::finished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finished(-1, QProcess::CrashExit);
    });
    m_process->start();
}

void PreviewMake::finished(int exitCode, QProcess::ExitStatus status)
{
    if (!m_process)
        return;
    QProcess* process = std::exchange(m_process, nullptr);
    const QString errors = QString::fromLocal8Bit(process->readAllStandardError());
    const QByteArray records = process->readAllStandardOutput();
    const QString startError = process->errorString();
    process->deleteLater();
    m_folder.removeLogs();
    if (m_pending) {
        // A newer page waits: this make's outcome is of no use.
        startPending();
        return;
    }
    // 0: nothing reported, 1: problems; anything else is a failure. Its text
    // stays in the preview folder's terms: a file the make could not write is
    // the preview's, on the preview's disk, never the kiosk system's.
    if (status != QProcess::NormalExit || exitCode < 0 || exitCode > 1) {
        emit failed(exitCode == -1 ? m_program + QStringLiteral(": ") + startError : errors.trimmed());
        return;
    }
    m_problems = findingsOf(records);
    for (Finding& problem : m_problems) {
        problem.pageSource = m_folder.inKioskTerms(problem.pageSource);
        problem.text = m_folder.inKioskTerms(problem.text);
    }
    m_made = std::move(m_making);
    m_lastMakeMs = m_sinceRequest.elapsed();
    emit made(m_folder.madePage());
}

void PreviewMake::drop()
{
    m_pending.reset();
    if (m_process) {
        QProcess* process = std::exchange(m_process, nullptr);
        process->disconnect(this);
        process->kill();
        process->waitForFinished(5000);
        delete process;
        m_folder.removeLogs();
    }
}

void PreviewMake::stop()
{
    drop();
    m_problems.clear();
    m_folder.clear();
}
