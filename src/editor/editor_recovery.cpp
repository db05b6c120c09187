// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_recovery.h"

#include "base/line_end.h"
#include "base/runtime_error.h"
#include "config/kiosk_system.h"
#include "platform/messages.h"
#include "runtime/log_file.h"
#include "workbench/workbench.h"

#include <QDir>
#include <QTimer>

namespace {
// Recovery copies are written at the latest this long after the first edit
// not yet in one, however fast the author goes on typing.
constexpr qint64 kLongestRecoveryWaitMs = 10000;
} // namespace

EditorRecovery::EditorRecovery(Workbench& workbench, Page page, QObject* parent)
    : QObject(parent), m_workbench(workbench), m_page(std::move(page))
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kDelayMs);
    connect(m_timer, &QTimer::timeout, this, &EditorRecovery::write);
}

EditorRecovery::~EditorRecovery() = default;

// Typing on restarts the wait, up to the longest wait since the first edit
// not yet in a copy.
void EditorRecovery::schedule()
{
    if (!m_workbench.recoveryCopies())
        return;
    if (!m_timer->isActive())
        m_unsavedSince.start();
    else if (m_unsavedSince.elapsed() >= kLongestRecoveryWaitMs)
        return;
    m_timer->start();
}

void EditorRecovery::write()
{
    RecoveryCopies* copies = m_workbench.recoveryCopies();
    if (!copies)
        return;
    if (!m_page.changed())
        return drop();
    if (m_name.isEmpty())
        m_name = copies->newName();
    RecoveryCopies::Copy copy = m_page.content();
    try {
        copy.kioskFolder = m_workbench.kioskSystem().folder();
    } catch (const RuntimeError&) {
        // No kiosk system open: the copy is kept, but offered nowhere.
    }
    setFailure(copies->write(m_name, copy));
}

void EditorRecovery::setFailure(const QString& reason)
{
    if (reason == m_failure)
        return;
    m_failure = reason;
    const QString folder = QDir::toNativeSeparators(m_workbench.recoveryCopies()->folder());
    if (reason.isEmpty()) {
        logMessage(m_workbench.session(), QStringLiteral("recovery copy written again: ") + folder);
        m_notice.clear();
    } else {
        logMessage(m_workbench.session(),
                   QStringLiteral("recovery copy not written: ") + folder + QStringLiteral(" (") + reason + u')');
        m_notice = tr("The text is not protected: its recovery copy cannot be written to %1 (%2). Save the page to "
                      "keep it.")
                       .arg(folder, reason);
    }
    emit noticeChanged(m_notice);
}

void EditorRecovery::drop()
{
    m_timer->stop();
    RecoveryCopies* copies = m_workbench.recoveryCopies();
    if (!copies)
        return;
    if (!m_name.isEmpty())
        copies->remove(m_name);
    // A page that needs no copy is not at risk.
    if (!m_failure.isEmpty()) {
        m_failure.clear();
        m_notice.clear();
        emit noticeChanged(m_notice);
    }
}

void EditorRecovery::offerLeftBehind(Workbench& workbench,
                                     const std::function<void(const RecoveryCopies::Copy&)>& restore)
{
    RecoveryCopies* copies = workbench.recoveryCopies();
    if (!copies)
        return;
    for (const RecoveryCopies::LeftCopy& left : copies->leftBehind(workbench.kioskSystem().folder())) {
        const RecoveryCopies::Copy& copy = left.copy;
        const QString page =
            copy.pageSource.isEmpty() ? tr("a new page") : tr("page %1").arg(QDir::toNativeSeparators(copy.pageSource));
        const Answer answer = Messages::askYesNo(workbench.session(),
                                                 tr("ZEL ended without saving the text of %1.").arg(page) + kCrLf
                                                     + tr("Do you want to restore it into an editor?"),
                                                 Answer::Yes);
        if (answer == Answer::Yes)
            restore(copy);
        copies->remove(left.name);
    }
}
