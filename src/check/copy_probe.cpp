// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/copy_probe.h"

#include "imaging/copy_reuse.h"
#include "imaging/image_tool.h"
#include "platform/session.h"

#include <QFileInfo>

namespace {

QString linkedName(const QFileInfo& copy) { return QStringLiteral("images\\") + copy.fileName(); }

} // namespace

CopyProbe::CopyProbe(Session& session, ChangeHandler changed) : m_session(session), m_changed(std::move(changed)) {}

// As a make finds it, once per check: a tool that cannot start resamples nothing.
bool CopyProbe::resamples()
{
    if (!m_resamples) {
        const QString& program = m_session.imageTool().program;
        m_resamples = !program.isEmpty() && Jpeg::toolStartProblem(program).isEmpty();
    }
    return *m_resamples;
}

// The same question a make's picture work asks before it makes a copy.
void CopyProbe::submit(const Jpeg::CopyJob& job)
{
    const QFileInfo copy(job.destination);
    const QString tool = job.method == Jpeg::CopyJob::Method::Resample
                             ? m_records.toolIdentityOf(m_session.imageTool().program)
                             : QString();
    if (!Jpeg::wouldKeep(job, tool, m_records.of(copy.path()).find(copy.fileName())))
        m_changed(linkedName(copy), false);
}

void CopyProbe::removeOlder(const QString& path)
{
    const QFileInfo copy(path);
    if (copy.exists() || copy.isSymLink())
        m_changed(linkedName(copy), true);
}
