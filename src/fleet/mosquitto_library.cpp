// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "mosquitto_library.h"

#include <dlfcn.h>

namespace {

// The library of the version whose header the programs are built against.
constexpr const char* libraryName = "libmosquitto.so.1";

struct Loaded {
    MosquittoLibrary functions{};
    bool complete = false;
    QString reason;
};

template <typename Function>
bool resolve(void* handle, const char* name, Function& function, QString& reason)
{
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    if (function == nullptr && reason.isEmpty())
        reason = QStringLiteral("%1 has no %2").arg(QLatin1String(libraryName), QLatin1String(name));
    return function != nullptr;
}

Loaded load()
{
    Loaded loaded;
    // Never closed: its threads and OpenSSL's state live until the process ends.
    void* handle = ::dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        loaded.reason = error != nullptr ? QString::fromLocal8Bit(error)
                                         : QStringLiteral("%1 cannot be loaded").arg(QLatin1String(libraryName));
        return loaded;
    }
    MosquittoLibrary& f = loaded.functions;
    QString& why = loaded.reason;
    decltype(&mosquitto_lib_init) libInit = nullptr;
    loaded.complete =
        resolve(handle, "mosquitto_lib_init", libInit, why) && resolve(handle, "mosquitto_new", f.newClient, why)
        && resolve(handle, "mosquitto_destroy", f.destroy, why)
        && resolve(handle, "mosquitto_threaded_set", f.threadedSet, why)
        && resolve(handle, "mosquitto_connect_callback_set", f.connectCallbackSet, why)
        && resolve(handle, "mosquitto_disconnect_callback_set", f.disconnectCallbackSet, why)
        && resolve(handle, "mosquitto_message_callback_set", f.messageCallbackSet, why)
        && resolve(handle, "mosquitto_username_pw_set", f.usernamePwSet, why)
        && resolve(handle, "mosquitto_tls_set", f.tlsSet, why) && resolve(handle, "mosquitto_will_set", f.willSet, why)
        && resolve(handle, "mosquitto_subscribe", f.subscribe, why)
        && resolve(handle, "mosquitto_publish", f.publish, why)
        && resolve(handle, "mosquitto_connect_async", f.connectAsync, why)
        && resolve(handle, "mosquitto_reconnect_async", f.reconnectAsync, why)
        && resolve(handle, "mosquitto_loop", f.loop, why) && resolve(handle, "mosquitto_disconnect", f.disconnect, why)
        && resolve(handle, "mosquitto_strerror", f.strerror, why)
        && resolve(handle, "mosquitto_connack_string", f.connackString, why);
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
