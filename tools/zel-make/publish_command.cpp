// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish_command.h"

#include "make_command.h"

#include "base/runtime_error.h"
#include "check/finding.h"
#include "check/kiosk_check.h"
#include "common/tool_command_line.h"
#include "platform/messages.h"
#include "publish/origin_writer.h"
#include "publish/publish_key.h"
#include "system/open_kiosk_system.h"

#include <QFileInfo>
#include <optional>

namespace PublishCommand {

namespace {

// "1 object", "2 objects".
QString counted(qint64 count, const char* noun)
{
    return QString::number(count) + u' ' + QLatin1String(noun) + (count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

int run(Session& session, StandardErrorMessageBoxes& messages, const Request& request)
{
    const auto refuse = [&session](const QString& reason) {
        Messages::show(session, QStringLiteral("Not published: ") + reason);
        return MakeCommand::Fatal;
    };
    const QString keyPath = PublishKey::defaultPath();
    OriginWriter writer(request.origin);
    std::optional<PublishKey> key;
    try {
        // The origin and the key are read before the make, so that a publish
        // that cannot succeed stops at once.
        const std::optional<OriginManifest::Verified> latest = writer.current();
        if (QFileInfo::exists(keyPath) || QFileInfo(keyPath).isSymLink())
            key = PublishKey::load(keyPath);
        else if (latest)
            return refuse(QStringLiteral("the publishing key ") + keyPath
                          + QStringLiteral(" is missing: copy your "
                                           "saved key file back there "
                                           "(mode 0600); ")
                          + writer.manifestPath() + QStringLiteral(" is signed with the key ")
                          + QString::fromLatin1(latest->key.toBase64()) + QStringLiteral(", which the kiosks pin"));
    } catch (const RuntimeError& error) {
        return refuse(error.description());
    }

    if (MakeCommand::run(session, messages, {request.kioskFolder}) == MakeCommand::Fatal)
        return MakeCommand::Fatal;
    const std::unique_ptr<KioskSystem> kiosk = openKioskSystemHeadless(session, request.kioskFolder, false);
    KioskCheck check(*kiosk);
    check.run();
    OriginManifest manifest;
    manifest.note = request.note;
    manifest.checkedPages = check.pagesChecked();
    QStringList deadEnds;
    for (const Finding& finding : check.findings()) {
        ++manifest.findings[finding.kind];
        if (finding.kind == FindingKind::DeadEnd)
            deadEnds.append(finding.toLine());
    }
    if (!deadEnds.isEmpty()) {
        Messages::show(session, QStringLiteral("Not published: the kiosk check found dead ends (buttons or items to "
                                               "pages that do not exist strand the visitor):\n")
                                    + deadEnds.join(u'\n'));
        return MakeCommand::MessagesShown;
    }

    try {
        if (!key) {
            key = PublishKey::create(keyPath);
            printText(stdout, QStringLiteral("A new publishing key was made: %1 (keep a copy of it: only versions "
                                             "signed with it reach the kiosks)\n")
                                  .arg(keyPath));
        }
        const OriginWriter::Result result = writer.publish(request.kioskFolder, manifest, *key, request.keep);
        printText(stdout, QStringLiteral("Published version %1 to %2: %3 (%4 bytes); removed %5 and %6\n")
                              .arg(result.version)
                              .arg(request.origin)
                              .arg(counted(result.newObjects, "new object"))
                              .arg(result.newBytes)
                              .arg(counted(result.removedVersions, "old version"))
                              .arg(counted(result.removedObjects, "object")));
        printText(stdout, QStringLiteral("public key: ") + key->publicKeyText() + u'\n');
    } catch (const RuntimeError& error) {
        return refuse(error.description());
    }
    return MakeCommand::Success;
}

} // namespace PublishCommand
