// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "service_notifier.h"

#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace ServiceNotifier {

bool notify(const QByteArray& message)
{
    const QByteArray socketName = qgetenv("NOTIFY_SOCKET");
    sockaddr_un address{};
    if (socketName.isEmpty() || size_t(socketName.size()) >= sizeof address.sun_path
        || (socketName[0] != '/' && socketName[0] != '@'))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketName.constData(), size_t(socketName.size()));
    // "@name": a name in the abstract namespace, which starts with a zero byte.
    if (socketName[0] == '@')
        address.sun_path[0] = '\0';
    const int descriptor = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(socketName.size()));
    const bool sent = ::sendto(descriptor, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&address), length)
                      == ssize_t(message.size());
    ::close(descriptor);
    return sent;
}

} // namespace ServiceNotifier
