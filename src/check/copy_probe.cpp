#include "check/copy_probe.h"

#include "imaging/copy_reuse.h"
#include "platform/session.h"

#include <QFileInfo>

namespace {

QString linkedName(const QFileInfo& copy) { return QStringLiteral("images\\") + copy.fileName(); }

} // namespace

CopyProbe::CopyProbe(Session& session, ChangeHandler changed) : m_session(session), m_changed(std::move(changed)) {}

bool CopyProbe::resamples() { return !m_session.imageTool().program.isEmpty(); }

const Jpeg::CopyRecord& CopyProbe::recordOf(const QString& folder)
{
    auto found = m_records.find(folder);
    if (found == m_records.end())
        found = m_records.insert(folder, Jpeg::CopyRecord::load(folder));
    return *found;
}

const QString& CopyProbe::toolOf(const QString& program)
{
    auto found = m_tools.find(program);
    if (found == m_tools.end())
        found = m_tools.insert(program, Jpeg::toolIdentity(program));
    return *found;
}

// The same question a make's picture work asks before it makes a copy.
void CopyProbe::submit(const Jpeg::CopyJob& job)
{
    const QFileInfo copy(job.destination);
    const QString tool =
        job.method == Jpeg::CopyJob::Method::Resample ? toolOf(m_session.imageTool().program) : QString();
    if (!Jpeg::wouldKeep(job, tool, recordOf(copy.path()).find(copy.fileName())))
        m_changed(linkedName(copy), false);
}

void CopyProbe::removeOlder(const QString& path)
{
    const QFileInfo copy(path);
    if (copy.exists() || copy.isSymLink())
        m_changed(linkedName(copy), true);
}
