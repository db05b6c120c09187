// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/session.h"
#include "publish/origin_writer.h"

#include <QString>

class StandardErrorMessageBoxes;

// zel-make --publish ORIGIN KIOSK_FOLDER [--note TEXT] [--keep N]
//
// Makes every page as Make All does, then runs the kiosk check: a kiosk
// system with dead ends is not published (their findings on standard error,
// exit status 1, nothing written to the origin). Otherwise it is published to
// the origin folder with OriginWriter, signed with the author's key
// (PublishKey::defaultPath(), made on the first publish to an origin that has
// none), and standard output says the version, the new objects and bytes,
// and the public key the kiosks pin. Exit status 0 when published, 2 when the
// key, the origin or a file cannot be read or written (the reason and the
// path on standard error) or a fatal report ended the make.
namespace PublishCommand {

struct Request {
    QString origin;
    QString kioskFolder;
    QString note;
    int keep = OriginWriter::kDefaultKeep;
};

int run(Session& session, StandardErrorMessageBoxes& messages, const Request& request);

} // namespace PublishCommand
