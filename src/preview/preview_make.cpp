#include "preview/preview_make.h"

#include "platform/runtime_error.h"

#include <QRegularExpression>

namespace {

// The maker writes each message followed by one empty line.
QStringList messagesOf(const QString& errorText)
{
    QStringList messages;
    for (const QString& part : errorText.split(QRegularExpression(QStringLiteral("\n\n+")), Qt::SkipEmptyParts)) {
        const QString message = part.trimmed();
        if (!message.isEmpty())
            messages.append(message);
    }
    return messages;
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
    QString source;
    try {
        source = m_folder.prepare(page);
    } catch (const RuntimeError& error) {
        emit failed(error.description());
        return;
    }
    m_process = new QProcess(this);
    m_process->setProgram(m_program);
    m_process->setArguments({m_folder.kioskFolder(), source});
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
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
    const QString startError = process->errorString();
    process->deleteLater();
    m_folder.removeLogs();
    if (m_pending) {
        // A newer page waits: this make's outcome is of no use.
        startPending();
        return;
    }
    // 0: nothing reported, 1: messages shown; anything else is a failure.
    if (status != QProcess::NormalExit || exitCode < 0 || exitCode > 1) {
        emit failed(exitCode == -1 ? m_program + QStringLiteral(": ") + startError
                                   : m_folder.inKioskTerms(errors).trimmed());
        return;
    }
    m_problems = messagesOf(m_folder.inKioskTerms(errors));
    m_lastMakeMs = m_sinceRequest.elapsed();
    emit made(m_folder.madePage());
}

void PreviewMake::stop()
{
    m_pending.reset();
    if (m_process) {
        QProcess* process = std::exchange(m_process, nullptr);
        process->disconnect(this);
        process->kill();
        process->waitForFinished(5000);
        delete process;
    }
    m_problems.clear();
    m_folder.clear();
}
