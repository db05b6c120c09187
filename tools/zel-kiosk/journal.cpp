// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include <QtEndian>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Journal {

QByteArray entry(const QList<Field>& fields)
{
    QByteArray datagram;
    for (const Field& field : fields) {
        const QByteArray value = field.value.toUtf8();
        datagram += field.name;
        if (value.contains('\n')) {
            char length[8];
            qToLittleEndian(quint64(value.size()), length);
            datagram += '\n' + QByteArray(length, sizeof length) + value + '\n';
        } else {
            datagram += '=' + value + '\n';
        }
    }
    return datagram;
}

bool send(const QByteArray& entry, const QByteArray& socketPath)
{
    sockaddr_un address{};
    if (socketPath.isEmpty() || size_t(socketPath.size()) >= sizeof address.sun_path
        || ::access(socketPath.constData(), F_OK) != 0)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    // A journal that lags behind loses the entry; the kiosk does not wait for it.
    const bool sent = ::sendto(descriptor, entry.constData(), size_t(entry.size()), MSG_NOSIGNAL | MSG_DONTWAIT,
                               reinterpret_cast<const sockaddr*>(&address), sizeof address)
                      == ssize_t(entry.size());
    ::close(descriptor);
    return sent;
}

} // namespace Journal
