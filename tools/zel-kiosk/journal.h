// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Entries for systemd's journal with fields of their own (MESSAGE=,
// PRIORITY=, ZEL_EVENT=...), sent as one datagram in the journal's native
// protocol to its socket, as sd_journal_send does. Without a journal (not
// under systemd) the socket is missing and nothing is sent; nothing ever
// waits on it.
namespace Journal {

struct Field {
    QByteArray name; // upper-case letters, digits and "_"
    QString value;
};

// The datagram: "NAME=value\n" per field; a value with a line break in it
// as the name, a line break, its length (64 bits, little-endian), the value
// and a line break.
QByteArray entry(const QList<Field>& fields);

// True when the entry was handed to the socket.
bool send(const QByteArray& entry, const QByteArray& socketPath = "/run/systemd/journal/socket");

} // namespace Journal
