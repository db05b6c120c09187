// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/page_check.h"

#include <QVariantMap>

namespace PageCheck {

QString inspectionScript()
{
    // Frame names are read through each frame's window; a frame that cannot
    // be read counts as unnamed.
    return QStringLiteral(R"JS((function () {
    var result = { document: false, frames: false, count: 0, nav: false, con: false };
    if (!window.document)
        return result;
    result.document = true;
    var frames = window.frames;
    if (!frames || typeof frames.length !== "number")
        return result;
    result.frames = true;
    result.count = frames.length;
    for (var i = 0; i < frames.length; ++i) {
        var name = "";
        try { name = frames[i].name; } catch (e) { }
        if (name === "nav") result.nav = true;
        if (name === "con") result.con = true;
    }
    return result;
})())JS");
}

QString failureReason(const QVariant& inspection)
{
    const QVariantMap page = inspection.toMap();
    if (inspection.typeId() != QMetaType::QVariantMap || !page.value(QStringLiteral("document")).toBool())
        return QStringLiteral("no document");
    if (!page.value(QStringLiteral("frames")).toBool())
        return QStringLiteral("no frames");
    const int count = page.value(QStringLiteral("count")).toInt();
    if (count != 2)
        return QString::number(count) + QStringLiteral(" frames");
    if (!page.value(QStringLiteral("nav")).toBool())
        return QStringLiteral("no nav frame");
    if (!page.value(QStringLiteral("con")).toBool())
        return QStringLiteral("no con frame");
    return QString();
}

} // namespace PageCheck
