// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/opening_hours.h"

#include "fleet/broker_settings.h"

#include <QKeySequence>
#include <QString>

// What the kiosk's operator sets, in the section [Kiosk] of the per-user
// settings file (~/.config/ZEL_Editor.ini). Every key is optional:
//     quitKeys=Ctrl+Alt+Shift+Q     the key sequence that ends the kiosk
//     openingHours=Mon-Fri 08:00-18:00; Sat 10:00-14:00
//     idleSeconds=120               no touch this long: back to the root page, and a waiting version shown
//     watchdogSeconds=5             how often each page is asked whether it still answers
//     followSeconds=10              how often a followed folder is looked at
//     pullSeconds=60                how often an origin's manifest is asked for
//     restartLimit=5                failed restarts of a page in a row before the kiosk ends (status 3)
//     kioskName=hall-west           the kiosk's name in its health reports (default: the host name)
//     healthFile=/var/lib/prometheus/node-exporter/zel-kiosk.prom
//                                   the health as a Prometheus textfile (written at every report)
//     brokerHost=broker.example     the MQTT broker the health is reported to (none: no reports)
//     brokerPort=8883               (default 1883)
//     brokerPrefix=zel              topics <prefix>/<kioskName>/status, command and screenshot
//     brokerCaFile=/etc/zel/ca.crt  TLS, the broker's certificate checked against this CA
//     brokerUser=hall-west          a login with brokerPassword
//     brokerPassword=secret
//     speechVolume=80               the volume of speech, 0 to 100
//     speechRate=0                  how fast it speaks, -100 (slowest) to 100 (fastest)
// A value is the whole rest of its line, ";" and "," included (an INI reader
// would end it at a ";"); a value wholly in double quotes, as the desktop
// program's settings store writes one, is read without them.
struct KioskSettings {
    QKeySequence quitKeys = QKeySequence(QStringLiteral("Ctrl+Alt+Shift+Q"));
    OpeningHours hours;
    int idleSeconds = 120;
    int watchdogSeconds = 5;
    int followSeconds = 10;
    int pullSeconds = 60;
    int heartbeatSeconds = 10;
    int restartLimit = 5;
    QString openingHoursText; // as written
    QString name;             // kioskName; empty: the host name
    QString healthFile;
    BrokerSettings broker;

    // The name the kiosk reports its health under.
    QString kioskName() const;
    int speechVolume = 80;
    int speechRate = 0;

    // Reads the user's settings file; on a wrong value, an unknown key or a
    // file that cannot be read returns false and sets error to a sentence
    // naming the file, the line and the key.
    static bool load(KioskSettings& settings, QString& error);
    // The same for the settings file at path; a missing file sets nothing.
    static bool read(const QString& path, KioskSettings& settings, QString& error);
};
