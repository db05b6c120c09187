// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish_run.h"

#include "base/runtime_error.h"
#include "check/finding.h"
#include "check/kiosk_check.h"

#include <QFileInfo>

namespace {

// "1 object", "2 objects".
QString counted(qint64 count, const char* noun)
{
    return QString::number(count) + u' ' + QLatin1String(noun) + (count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

PublishRun::PublishRun(Request request, QString keyPath)
    : m_request(std::move(request)), m_keyPath(std::move(keyPath)), m_writer(m_request.origin)
{}

QString PublishRun::notPublished(const QString& reason) { return QStringLiteral("Not published: ") + reason; }

QString PublishRun::refusalBeforeMake()
{
    try {
        const std::optional<OriginManifest::Verified> latest = m_writer.current();
        if (QFileInfo::exists(m_keyPath) || QFileInfo(m_keyPath).isSymLink())
            m_key = PublishKey::load(m_keyPath);
        else if (latest)
            return QStringLiteral("the publishing key ") + m_keyPath
                   + QStringLiteral(" is missing: copy your saved key file back there (mode 0600); ")
                   + m_writer.manifestPath() + QStringLiteral(" is signed with the key ")
                   + QString::fromLatin1(latest->key.toBase64()) + QStringLiteral(", which the kiosks pin");
    } catch (const RuntimeError& error) {
        return error.description();
    }
    return QString();
}

PublishRun::Outcome PublishRun::checkAndPublish(KioskSystem& kiosk)
{
    Outcome outcome;
    KioskCheck check(kiosk);
    check.run();
    OriginManifest manifest;
    manifest.note = m_request.note;
    manifest.checkedPages = check.pagesChecked();
    for (const Finding& finding : check.findings()) {
        ++manifest.findings[finding.kind];
        if (finding.kind == FindingKind::DeadEnd)
            outcome.deadEnds.append(finding.toLine());
    }
    if (!outcome.deadEnds.isEmpty())
        return outcome;
    try {
        if (!m_key) {
            m_key = PublishKey::create(m_keyPath);
            outcome.keyCreated = true;
        }
        outcome.result = m_writer.publish(m_request.kioskFolder, manifest, *m_key, m_request.keep);
        outcome.publicKey = m_key->publicKeyText();
    } catch (const RuntimeError& error) {
        outcome.refusal = error.description();
    }
    return outcome;
}

QString PublishRun::report(const Outcome& outcome) const
{
    const QString keyMade = outcome.keyCreated ? QStringLiteral("A new publishing key was made: %1 (keep a copy of it: "
                                                                "only versions signed with it reach the kiosks)\n")
                                                     .arg(m_keyPath)
                                               : QString();
    if (!outcome.refusal.isEmpty())
        return keyMade + notPublished(outcome.refusal);
    if (!outcome.deadEnds.isEmpty())
        return QStringLiteral("Not published: the kiosk check found dead ends (buttons or items to pages that do not "
                              "exist strand the visitor):\n")
               + outcome.deadEnds.join(u'\n');
    const OriginWriter::Result& result = outcome.result;
    const QString text = keyMade
                         + QStringLiteral("Published version %1 to %2: %3 (%4 bytes); removed %5 and %6\n")
                               .arg(result.version)
                               .arg(m_request.origin)
                               .arg(counted(result.newObjects, "new object"))
                               .arg(result.newBytes)
                               .arg(counted(result.removedVersions, "old version"))
                               .arg(counted(result.removedObjects, "object"));
    return text + QStringLiteral("public key: ") + outcome.publicKey;
}
