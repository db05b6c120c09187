// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish_command.h"

#include "make_command.h"

#include "common/tool_command_line.h"
#include "platform/messages.h"
#include "publish/publish_run.h"
#include "system/open_kiosk_system.h"

namespace PublishCommand {

int run(Session& session, StandardErrorMessageBoxes& messages, const Request& request)
{
    PublishRun publish({request.origin, request.kioskFolder, request.note, request.keep});
    // The origin and the key are read before the make, so that a publish
    // that cannot succeed stops at once.
    if (const QString refusal = publish.refusalBeforeMake(); !refusal.isEmpty()) {
        Messages::show(session, PublishRun::notPublished(refusal));
        return MakeCommand::Fatal;
    }
    if (MakeCommand::run(session, messages, {request.kioskFolder}) == MakeCommand::Fatal)
        return MakeCommand::Fatal;
    const std::unique_ptr<KioskSystem> kiosk = openKioskSystemHeadless(session, request.kioskFolder, false);
    const PublishRun::Outcome outcome = publish.checkAndPublish(*kiosk);
    if (!outcome.published()) {
        Messages::show(session, publish.report(outcome));
        return outcome.deadEnds.isEmpty() ? MakeCommand::Fatal : MakeCommand::MessagesShown;
    }
    printText(stdout, publish.report(outcome) + u'\n');
    return MakeCommand::Success;
}

} // namespace PublishCommand
