// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "origin_writer.h"
#include "publish_key.h"

#include <QString>
#include <QStringList>
#include <optional>

class KioskSystem;

// One publish of a kiosk system to an origin folder, as `zel-make --publish`
// and the desktop program's File > Publish... do it: the origin and the
// author's key are looked at before the pages are made (a publish that cannot
// succeed stops at once), the kiosk check runs on the made pages, and a kiosk
// system with dead ends is not published.
class PublishRun {
public:
    struct Request {
        QString origin;
        QString kioskFolder;
        QString note;
        int keep = OriginWriter::kDefaultKeep;
    };
    explicit PublishRun(Request request, QString keyPath = PublishKey::defaultPath());

    // Why the publish cannot happen (the origin's manifest unreadable or
    // refused, the key unreadable, or missing while the origin is signed
    // with one); empty when it can. Called before the make.
    QString refusalBeforeMake();

    struct Outcome {
        QString refusal;      // why nothing was published, or empty
        QStringList deadEnds; // the check's dead ends: nothing was published
        OriginWriter::Result result;
        bool keyCreated = false;
        QString publicKey; // base64, for the kiosks' --key
        bool published() const { return refusal.isEmpty() && deadEnds.isEmpty(); }
    };
    // Checks the made kiosk system and publishes it when it has no dead end;
    // makes the key on the first publish.
    Outcome checkAndPublish(KioskSystem& kiosk);

    // What the author is told, as one text: "Not published: ..." or the
    // published version, its new objects and the public key.
    QString report(const Outcome& outcome) const;
    static QString notPublished(const QString& reason);

private:
    Request m_request;
    QString m_keyPath;
    OriginWriter m_writer;
    std::optional<PublishKey> m_key;
};
