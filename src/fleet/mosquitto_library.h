// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <mosquitto.h>

// The libmosquitto functions a connection uses, from the library loaded (and
// set up) when the first connection starts. Linked at start, libmosquitto
// brings OpenSSL and their symbol lookups into every start of the desktop
// program, which needs a broker only in its Kiosks window.
struct MosquittoLibrary {
    decltype(&mosquitto_new) newClient;
    decltype(&mosquitto_destroy) destroy;
    decltype(&mosquitto_threaded_set) threadedSet;
    decltype(&mosquitto_connect_callback_set) connectCallbackSet;
    decltype(&mosquitto_disconnect_callback_set) disconnectCallbackSet;
    decltype(&mosquitto_message_callback_set) messageCallbackSet;
    decltype(&mosquitto_username_pw_set) usernamePwSet;
    decltype(&mosquitto_tls_set) tlsSet;
    decltype(&mosquitto_will_set) willSet;
    decltype(&mosquitto_subscribe) subscribe;
    decltype(&mosquitto_publish) publish;
    decltype(&mosquitto_connect_async) connectAsync;
    decltype(&mosquitto_reconnect_async) reconnectAsync;
    decltype(&mosquitto_loop) loop;
    decltype(&mosquitto_disconnect) disconnect;
    decltype(&mosquitto_strerror) strerror;
    decltype(&mosquitto_connack_string) connackString;
};

// The loaded library; nullptr when it cannot be loaded, with the loader's
// reason in reason. Loaded once per process; safe from any thread.
const MosquittoLibrary* mosquittoLibrary(QString* reason = nullptr);
