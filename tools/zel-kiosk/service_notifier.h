// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Tells systemd how the kiosk service is doing ("READY=1", "WATCHDOG=1",
// "STOPPING=1"): one datagram to the socket named by $NOTIFY_SOCKET. Without
// that variable (not started by systemd, or without Type=notify) nothing is
// sent.
namespace ServiceNotifier {

// True when the message was sent.
bool notify(const QByteArray& message);

} // namespace ServiceNotifier
