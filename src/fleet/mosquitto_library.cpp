// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "mosquitto_library.h"

#include "util/loaded_library.h"

namespace {

struct Loaded {
    MosquittoLibrary functions{};
    bool complete = false;
    QString reason;
};

Loaded load()
{
    Loaded loaded;
    // The library of the version whose header the programs are built against;
    // its threads and OpenSSL's state live until the process ends.
    util::LoadedLibrary library("libmosquitto.so.1");
    MosquittoLibrary& f = loaded.functions;
    decltype(&mosquitto_lib_init) libInit = nullptr;
    library.resolve("mosquitto_lib_init", libInit)
        .resolve("mosquitto_new", f.newClient)
        .resolve("mosquitto_destroy", f.destroy)
        .resolve("mosquitto_threaded_set", f.threadedSet)
        .resolve("mosquitto_connect_callback_set", f.connectCallbackSet)
        .resolve("mosquitto_disconnect_callback_set", f.disconnectCallbackSet)
        .resolve("mosquitto_message_callback_set", f.messageCallbackSet)
        .resolve("mosquitto_username_pw_set", f.usernamePwSet)
        .resolve("mosquitto_tls_set", f.tlsSet)
        .resolve("mosquitto_will_set", f.willSet)
        .resolve("mosquitto_subscribe", f.subscribe)
        .resolve("mosquitto_publish", f.publish)
        .resolve("mosquitto_connect_async", f.connectAsync)
        .resolve("mosquitto_reconnect_async", f.reconnectAsync)
        .resolve("mosquitto_loop", f.loop)
        .resolve("mosquitto_disconnect", f.disconnect)
        .resolve("mosquitto_strerror", f.strerror)
        .resolve("mosquitto_connack_string", f.connackString);
    loaded.complete = library.complete();
    loaded.reason = QString::fromLocal8Bit(library.reason());
    if (loaded.complete)
        libInit();
    return loaded;
}

} // namespace

const MosquittoLibrary* mosquittoLibrary(QString* reason)
{
    static const Loaded loaded = load();
    if (!loaded.complete && reason != nullptr)
        *reason = loaded.reason;
    return loaded.complete ? &loaded.functions : nullptr;
}
